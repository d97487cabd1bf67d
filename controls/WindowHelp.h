#pragma once

#include <QList>
#include <QString>

#include <functional>

class QWidget;

// Help by context number: each window with help carries its own help file and context; a request
// goes to the active window's help file, or else to the application's with the main window.
namespace controls {

// The program's help file, which lies beside the program file.
inline const QString HelpFileName = QStringLiteral("Orvel.hlp");

// The help file of windows without one of their own; their requests are shown for mainWindow.
void setApplicationHelpFile(const QString &helpFile, QWidget *mainWindow);

// The folder of the program file as a Windows path with trailing backslash; empty when the program
// does not lie on the simulated PC (as in tests).
QString executableDirectory();

void setWindowHelpFile(QWidget *window, const QString &helpFile);
// The window's help file is the program's own, in the program file's folder.
void setProgramHelpFile(QWidget *window);
// Makes F1 in the window show this topic.
void setWindowHelpContext(QWidget *window, int topic);
// Whether the window has help of its own: a help context.
bool hasWindowHelpContext(const QWidget *window);

// command is platform::help::ShowTopic or ShowContents.
void requestHelp(int command, int topic = 0);

// The short-help option lives in the main window's menu; dialogs ask it each time they activate.
void setShortHelpQuery(std::function<bool()> query);
bool shortHelpOn();
// The hand-shaped cursor over the given controls while short help is on, else the arrow.
void showHandCursor(const QList<QWidget *> &controls, bool on);

}  // namespace controls
