#include "tests/app/ProgramFixture.h"

#include "controls/DirectoryListBox.h"
#include "controls/DriveComboBox.h"
#include "platform/drives/Files.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

ProgramFixture::ProgramFixture(const QString &workingDirectory, const QString &machineIni)
    : machine(machineIni),
      m_workingDirectory(workingDirectory)
{
    if (!platform::directoryExists(workingDirectory))
        machine.makeDirectory(workingDirectory);
}

QString ProgramFixture::settingsFile() const
{
    return platform::withoutRootBackslash(m_workingDirectory) + QStringLiteral("\\Orvel.ini");
}

TForm1 &ProgramFixture::start(Dialogs dialogs)
{
    m_windows.reset();
    if (platform::setCurrentDirectory(m_workingDirectory) != platform::dos::Ok)
        qFatal("cannot enter %s", qPrintable(m_workingDirectory));
    m_windows.emplace(dialogs == Dialogs::AtStart ? createProgramWindows() : createMainWindow());
    TForm1 &form1 = *m_windows->form1;
    if (dialogs == Dialogs::WhenNeeded)
        form1.setDialogMaker([this] { createDialogs(*m_windows); });
    form1.show();
    if (!QTest::qWaitFor([&form1] { return form1.startupDone(); }, 5000))
        qFatal("the main window's start-up work did not run");
    return form1;
}

void inDialogs(const std::function<void()> &action, QList<DialogStep> steps)
{
    QWidget *handled = nullptr;
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (steps.isEmpty() || !modal || modal == handled || !modal->isVisible()
            || QApplication::activeWindow() != modal)
            return;
        handled = modal;
        steps.takeFirst()(modal);
    });
    watcher.start();
    action();
}

void pressInDialogs(const QStringList &buttons, const std::function<void()> &action, QChar drive,
                    QString *driveShown)
{
    QList<DialogStep> steps;
    for (qsizetype at = 0; at < buttons.size(); ++at) {
        steps.append([&drive, driveShown, button = buttons[at], last = at + 1 == buttons.size()](QWidget *modal) {
            if (auto *box = modal->findChild<controls::DriveComboBox *>(QStringLiteral("DriveComboBox1"));
                box && !drive.isNull()) {
                box->setDrive(drive);
                if (driveShown)
                    *driveShown = box->currentText();
            }
            modal->findChild<QPushButton *>(button)->click();
            if (last)
                modal->close();
        });
    }
    inDialogs(action, std::move(steps));
}
