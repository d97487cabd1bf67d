#pragma once

#include <QString>

// What the German MS-DOS 7 says, in one place. Texts ending in " - " are followed by a name.
namespace dos::message {

inline const QString BadCommand = QStringLiteral("Befehl oder Dateiname nicht gefunden.");
inline const QString FileNotFound = QStringLiteral("Datei nicht gefunden");
inline const QString AccessDenied = QStringLiteral("Zugriff verweigert");
inline const QString PathNotFound = QStringLiteral("Pfad nicht gefunden");
inline const QString InvalidDirectory = QStringLiteral("Ungültiges Verzeichnis");
inline const QString InvalidDrive = QStringLiteral("Ungültige Laufwerksangabe");
inline const QString NotReady = QStringLiteral("Laufwerk nicht bereit");
inline const QString WriteProtected = QStringLiteral("Datenträger ist schreibgeschützt");
inline const QString DiskFull = QStringLiteral("Unzureichender Speicherplatz");
inline const QString GeneralFailure = QStringLiteral("Allgemeiner Fehler");
inline const QString SyntaxError = QStringLiteral("Syntaxfehler");
inline const QString ParameterMissing = QStringLiteral("Erforderlicher Parameter fehlt");
inline const QString TooManyParameters = QStringLiteral("Zu viele Parameter");
inline const QString InvalidSwitch = QStringLiteral("Ungültiger Schalter");
inline const QString CannotRun = QStringLiteral("Programm kann nicht ausgeführt werden");

inline const QString PressAnyKey = QStringLiteral("Weiter mit beliebiger Taste . . .");
inline const QString TerminateBatch = QStringLiteral("Stapelverarbeitung abbrechen (J/N)?");
inline const QString EchoIsOn = QStringLiteral("ECHO ist eingeschaltet");
inline const QString EchoIsOff = QStringLiteral("ECHO ist ausgeschaltet");
inline const QString NoPath = QStringLiteral("Keine Pfadangabe");

inline const QString CopiedOntoItself = QStringLiteral("Datei kann nicht auf sich selbst kopiert werden");
inline const QString VerifyFailed = QStringLiteral("Überprüfungsfehler");
inline const QString FilesCopied = QStringLiteral("Datei(en) kopiert");

inline const QString NotResettingHidden = QStringLiteral("Versteckte Datei wird nicht zurückgesetzt");
inline const QString NotResettingSystem = QStringLiteral("Systemdatei wird nicht zurückgesetzt");

inline const QString ScanDiskTitle = QStringLiteral("Microsoft ScanDisk");
inline const QString ScanDiskChecking =
    QStringLiteral("ScanDisk überprüft jetzt folgende Bereiche von Laufwerk %1:");
inline const QString ScanDiskFolders = QStringLiteral("Verzeichnisstruktur");
inline const QString ScanDiskAttributes = QStringLiteral("Dateiattribute");
inline const QString ScanDiskUnreadableFolder = QStringLiteral("Verzeichnis kann nicht gelesen werden");
inline const QString ScanDiskUnreadableAttributes = QStringLiteral("Attribute können nicht gelesen werden");
inline const QString ScanDiskClean = QStringLiteral("ScanDisk hat auf Laufwerk %1: keine Fehler gefunden.");
inline const QString ScanDiskProblems =
    QStringLiteral("ScanDisk hat auf Laufwerk %1: Fehler gefunden, die nicht behoben werden konnten.");
inline const QString ScanDiskCounts = QStringLiteral("%1 Verzeichnisse, %2 Dateien");

inline const QString FormatInsertDisk = QStringLiteral("Neue Diskette in Laufwerk %1: einlegen");
inline const QString FormatPressEnter = QStringLiteral("und anschließend die EINGABETASTE drücken...");
inline const QString FormatLabelPrompt =
    QStringLiteral("Datenträgerbezeichnung (11 Zeichen, EINGABETASTE für keine)? ");
inline const QString FormatChecking = QStringLiteral("Überprüfung des bestehenden Datenträgerformats.");
inline const QString FormatQuick = QStringLiteral("QuickFormat wird durchgeführt.");
inline const QString FormatFull = QStringLiteral("100 Prozent formatiert.");
inline const QString FormatDone = QStringLiteral("Formatieren beendet.");
inline const QString FormatLabel = QStringLiteral("Datenträgerbezeichnung: %1");
inline const QString FormatAnother = QStringLiteral("Eine weitere Diskette formatieren (J/N)?");
inline const QString FormatAborted = QStringLiteral("Formatieren abgebrochen.");
inline const QString FormatBadLabel = QStringLiteral("Ungültige Datenträgerbezeichnung");
inline const QString FormatNoFloppy =
    QStringLiteral("Laufwerk %1: ist kein Diskettenlaufwerk und wird nicht formatiert.");

inline const QString SysDone = QStringLiteral("System übertragen");
inline const QString SysNoSource = QStringLiteral("Systemdatei nicht gefunden - %1");
inline const QString SysOntoBootDrive =
    QStringLiteral("Das System kann nicht auf das Startlaufwerk %1: übertragen werden");
inline const QString SysAborted = QStringLiteral("System nicht übertragen");

inline const QString BootNoDisk =
    QStringLiteral("Keine Diskette in Laufwerk %1: - Startdiskette einlegen und den PC neu starten");
inline const QString BootNoSystem = QStringLiteral("Kein System oder Datenträgerfehler");
inline const QString BootChangeDisk = QStringLiteral("Datenträger wechseln und den PC neu starten");
inline const QString BootNoInterpreter = QStringLiteral("Fehlerhafter oder fehlender Befehlsinterpreter");
inline const QString BootStarting = QStringLiteral("Starte MS-DOS...");

// The message for a DOS error code of a file operation.
QString forError(int dosError);

}  // namespace dos::message
