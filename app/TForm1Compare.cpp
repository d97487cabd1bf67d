// The main window's comparison of the destination's backup with the files at their places.
#include "app/TForm1.h"

#include "compare/TVergleich.h"
#include "controls/DirectoryListBox.h"
#include "controls/StatusBar.h"

void TForm1::Sicherungvergleichen1Click()
{
    TVergleich window(this);
    if (!window.compareFolder(DirectoryListBox1->directory()))
        return;
    StatusBar1->setPanelText(QStringLiteral("Status: Vergleich mit der Sicherung: ") + window.summaryText());
    window.exec();
    // "&Wiederherstellen ..." goes on to the restore dialog, which opens on the same folder.
    if (window.restoreChosen())
        Button7Click();
}
