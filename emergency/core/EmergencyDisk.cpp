#include "emergency/core/EmergencyDisk.h"

#include "emergency/core/BootScript.h"
#include "emergency/core/DiskCheck.h"
#include "emergency/core/FloppyCommands.h"
#include "emergency/core/NotfallCopies.h"
#include "platform/drives/Files.h"

namespace emergency {

namespace {

const QString RepeatLine = QStringLiteral("Wiederholen sie anschließend den Vorgang.");

// Where the progress bar stands after each file of the copy step, in copy order.
constexpr int CopyProgress[] = {59, 64, 68, 72, 76, 80, 84, 88, 92, 96, 100};

// The write test's refusals; their line breaks are CR LF, unlike the program's other messages.
QString refusalText(int code, QChar floppy)
{
    switch (code) {
    case platform::dos::WriteProtected:
        return QStringLiteral("Der eingelegte Datenträger ist schreibgeschützt ! Legen sie eine andere\r\n"
                              "Diskette in das Laufwerk oder entfernen sie die Schreibschutzmarke !\r\n")
               + RepeatLine;
    case platform::dos::NotReady:
        return QStringLiteral("Bitte legen sie eine formatierte Diskette in das Laufwerk !\r\n") + RepeatLine;
    case platform::dos::InvalidDrive:
        return QStringLiteral("Laufwerk ") + floppy
               + QStringLiteral(":\\ ist ungültig ! Bitte wählen sie ein anderes Laufwerk.\r\n") + RepeatLine;
    default:
        return {};
    }
}

}  // namespace

DiskOutcome makeDisk(QChar floppy, QChar bootDrive, const QString &programDirectory,
                     const std::function<void(int position)> &progress)
{
    DiskOutcome outcome;
    // A write test that fails otherwise (a drive that refuses the file) does not stop the run.
    const int writeTest = emergency::writeTest(floppy);
    if (QString refusal = refusalText(writeTest, floppy); !refusal.isEmpty()) {
        outcome.refusal = writeTest;
        outcome.message = std::move(refusal);
        outcome.warning = true;
        return outcome;
    }
    progress(5);
    const QString windowsDirectory = platform::windowsDirectory();
    formatFloppy(floppy);
    progress(20);
    transferSystem(floppy);
    progress(50);
    writeBootScript(floppy, bootDrive, programDirectory, windowsDirectory);
    progress(55);
    const int *next = CopyProgress;
    copySystemFiles(programDirectory, windowsDirectory, [&](const SystemFile &) { progress(*next++); });

    // FORMAT and SYS report nothing back: only a disk that can start the PC counts as made.
    outcome.message = shortfallWarning(floppy, checkEmergencyDisk(floppy));
    outcome.warning = !outcome.message.isEmpty();
    if (!outcome.warning)
        outcome.message = QStringLiteral("Die Notfalldiskette wurde soeben erstellt . Nehmen\n\r"
                                         "sie sie jetzt aus dem Laufwerk und beschriften sie sie.");
    return outcome;
}

}  // namespace emergency
