#include "controls/WindowHelp.h"

#include "platform/machine/Machine.h"
#include "platform/shell/Desktop.h"

#include <QApplication>
#include <QPointer>
#include <QShortcut>
#include <QWidget>

namespace controls {

namespace {
const char *const HelpFileProperty = "velkoHelpFile";
const char *const HelpContextProperty = "velkoHelpContext";

QString applicationHelpFile;
QPointer<QWidget> applicationHelpOwner;
std::function<bool()> shortHelpQuery;
}  // namespace

void setApplicationHelpFile(const QString &helpFile, QWidget *mainWindow)
{
    applicationHelpFile = helpFile;
    applicationHelpOwner = mainWindow;
}

QString executableDirectory()
{
    if (!platform::hasMachine())
        return {};
    const QString folder = platform::machine().windowsPathOf(QCoreApplication::applicationDirPath());
    return folder.isEmpty() || folder.endsWith(QLatin1Char('\\')) ? folder : folder + QLatin1Char('\\');
}

void setWindowHelpFile(QWidget *window, const QString &helpFile)
{
    window->setProperty(HelpFileProperty, helpFile);
}

void setProgramHelpFile(QWidget *window)
{
    setWindowHelpFile(window, executableDirectory() + HelpFileName);
}

void setWindowHelpContext(QWidget *window, int topic)
{
    window->setProperty(HelpContextProperty, topic);
    auto *key = new QShortcut(QKeySequence(Qt::Key_F1), window);
    QObject::connect(key, &QShortcut::activated, window, [window] {
        const int context = window->property(HelpContextProperty).toInt();
        if (context != 0)
            requestHelp(platform::help::ShowTopic, context);
    });
}

bool hasWindowHelpContext(const QWidget *window)
{
    return window->property(HelpContextProperty).toInt() != 0;
}

void requestHelp(int command, int topic)
{
    QWidget *owner = QApplication::activeWindow();
    QString helpFile = owner ? owner->property(HelpFileProperty).toString() : QString();
    if (helpFile.isEmpty()) {
        helpFile = applicationHelpFile;
        owner = applicationHelpOwner;
    }
    if (helpFile.isEmpty())
        return;
    platform::desktop().showHelp(owner, helpFile, command, topic);
}

void setShortHelpQuery(std::function<bool()> query)
{
    shortHelpQuery = std::move(query);
}

bool shortHelpOn()
{
    return shortHelpQuery ? shortHelpQuery() : true;
}

void showHandCursor(const QList<QWidget *> &controls, bool on)
{
    for (QWidget *control : controls) {
        if (on)
            control->setCursor(Qt::PointingHandCursor);
        else
            control->unsetCursor();
    }
}

}  // namespace controls
