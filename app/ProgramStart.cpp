#include "app/ProgramStart.h"

#include "app/EarlyWork.h"
#include "app/ProgramWindows.h"
#include "controls/HostDesktop.h"
#include "controls/Look.h"
#include "platform/drives/Pc.h"
#include "platform/machine/SingleInstance.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QScopeGuard>

#include <cstdio>

namespace {

// Runs `work` at the event loop's next turn after the window's first paint, so after that picture
// has reached the screen.
class AfterFirstPaint final : public QObject {
public:
    AfterFirstPaint(QWidget &window, std::function<void()> work)
        : QObject(&window), m_work(std::move(work))
    {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this, [this] { m_work(); deleteLater(); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_work;
};

void afterFirstPaint(QWidget &window, std::function<void()> work)
{
    new AfterFirstPaint(window, std::move(work));
}

}  // namespace

int runProgram(int argc, char *argv[], const std::function<void(QWidget &)> &shown)
{
    EarlyWork early;
    const QString machineFolder = platform::Machine::findFolder(QDir::currentPath());
    if (machineFolder.isEmpty()) {
        std::fprintf(stderr,
                     "Velko Save: no simulated PC found (no machine.ini in %s or above).\n"
                     "Start the program from a folder of a simulated PC, see README.md.\n",
                     qPrintable(QDir::currentPath()));
        return 2;
    }
    // A second copy on the same PC ends before it shows anything; a simulated PC is one session.
    platform::SingleInstance instance(QStringLiteral("SCR03154"), machineFolder);
    if (!instance.acquire())
        return 0;

    QString error;
    auto machine = platform::Machine::load(machineFolder, &error);
    if (!machine) {
        std::fprintf(stderr, "Velko Save: %s\n", qPrintable(error));
        return 2;
    }
    platform::Pc pc(std::move(machine));
    pc.makeCurrent();

    QApplication application(argc, argv);
    early.applicationMade();
    const auto earlyDone = qScopeGuard([&early] { early.finish(); });
    QApplication::setApplicationName(QStringLiteral("Velko Save"));
    controls::applyClassicLook(application);
    controls::HostDesktop hostDesktop;
    platform::setDesktop(&hostDesktop);

    // Nobody sees a dialog before a command of the main window shows it: the dialogs are made once
    // the window's first picture is out, or when a command needs one earlier.
    ProgramWindows windows = createMainWindow();
    windows.form1->setDialogMaker([&windows] { createDialogs(windows); });
    windows.form1->show();
    if (shown)
        shown(*windows.form1);
    afterFirstPaint(*windows.form1, [&windows] { createDialogs(windows); });
    return application.exec();
}
