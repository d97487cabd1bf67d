#include "app/Look.h"
#include "app/TAboutBox.h"
#include "app/TForm1.h"
#include "backup/TForm6.h"
#include "controls/WindowHelp.h"
#include "emergency/TForm5.h"
#include "emergency/TNotfall.h"
#include "platform/Machine.h"
#include "platform/SingleInstance.h"
#include "restore/TRestore.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    const QString machineFolder = platform::Machine::findFolder(QDir::currentPath());
    if (machineFolder.isEmpty()) {
        std::fprintf(stderr, "Velko Save: no simulated PC found (no machine.ini in %s or above).\n"
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
    platform::setMachine(std::move(machine));

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velko Save"));
    applyClassicLook(application);
    controls::setApplicationHelpFile(QStringLiteral("Orvel.hlp"));

    TForm1 form1;
    TRestore restore;
    TNotfall notfall;
    TForm5 form5;
    TForm6 form6(form1.DirectoryListBox1);
    TAboutBox aboutBox;
    form1.setDialogs(&restore, &notfall, &form5, &form6, &aboutBox);
    form1.show();
    return application.exec();
}
