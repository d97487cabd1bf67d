// The anchor of the start-up benchmark: an empty QMainWindow of the main window's size, reporting
// its first paint as StartupProbe does.
#include "bench/FirstPaint.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    QMainWindow window;
    if (arguments.size() == 3)
        window.resize(arguments.at(1).toInt(), arguments.at(2).toInt());
    window.show();
    window.installEventFilter(new bench::FirstPaint(&window));
    return application.exec();
}
