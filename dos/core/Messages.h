#pragma once

#include <QString>
#include <QStringList>

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
inline const QString OutOfMemory = QStringLiteral("Nicht genügend Speicher");
inline const QString DuplicateOrMissing = QStringLiteral("Doppelter Dateiname oder Datei nicht gefunden");
inline const QString DirectoryExists = QStringLiteral("Verzeichnis existiert bereits");
inline const QString CannotMakeDirectory = QStringLiteral("Verzeichnis kann nicht erstellt werden");
inline const QString CannotRemoveDirectory =
    QStringLiteral("Ungültiger Pfad, kein Verzeichnis oder Verzeichnis nicht leer");
inline const QString CannotRemoveCurrent = QStringLiteral("Aktuelles Verzeichnis kann nicht entfernt werden");
inline const QString DeleteAll = QStringLiteral("Alle Dateien im Verzeichnis werden gelöscht!");
inline const QString AreYouSure = QStringLiteral("Sind Sie sicher (J/N)?");
inline const QString Version = QStringLiteral("Windows 98 [Version 4.10.2222]");
inline const QString VolumeLabel = QStringLiteral(" Datenträger in Laufwerk %1: ist %2");
inline const QString VolumeWithoutLabel =
    QStringLiteral(" Datenträger in Laufwerk %1: hat keine Bezeichnung");
inline const QString DirectoryOf = QStringLiteral(" Verzeichnis von %1");
inline const QString DirFiles = QStringLiteral("%1 Datei(en)%2 Bytes");
inline const QString DirFolders = QStringLiteral("%1 Verzeichnis(se)%2 Bytes frei");
inline const QString DirContinuing = QStringLiteral("(Fortsetzung von %1)");

inline const QString PressAnyKey = QStringLiteral("Weiter mit beliebiger Taste . . .");
inline const QString TerminateBatch = QStringLiteral("Batchvorgang abbrechen (J/N)?");
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
inline const QString BootChangeDiskPressKey =
    QStringLiteral("Datenträger wechseln und beliebige Taste drücken");
inline const QString BootHalted = QStringLiteral("COMMAND.COM kann nicht geladen werden, System angehalten");

inline const QString WindowsLoading = QStringLiteral("Windows 98 wird gestartet...");
inline const QString WindowsStarts = QStringLiteral("Windows 98 wird geladen...");
inline const QString WindowsStartsSafe = QStringLiteral("Windows 98 wird im abgesicherten Modus geladen...");
inline const QString WindowsCannotStart = QStringLiteral("Windows 98 kann nicht gestartet werden:");
inline const QString DamageMissing = QStringLiteral("  %1 fehlt");
inline const QString DamageRegistry = QStringLiteral("  Registrierungsdatei %1 ist beschädigt");
inline const QString DamageNoBoot = QStringLiteral("  %1 hat keinen Abschnitt [boot]");
inline const QString DamageUnreadable = QStringLiteral("  %1 kann nicht gelesen werden");
inline const QString DamageNoWindowsDirectory = QStringLiteral("  Windows-Verzeichnis %1 nicht gefunden");
inline const QString BootLogWritten = QStringLiteral("Startprotokoll: %1");
inline const QString ConfirmLine = QStringLiteral("%1 [J,N]?");
inline const QString ConfirmAutoexec = QStringLiteral("AUTOEXEC.BAT ausführen [J,N]?");
inline const QString ConfirmWindows = QStringLiteral("Windows 98 starten [J,N]?");

inline const QString StartMenuTitle = QStringLiteral("Microsoft Windows 98 Startmenü");
inline const QStringList StartMenuEntries = {
    QStringLiteral("Normal"),
    QStringLiteral("Protokolliert (\\BOOTLOG.TXT)"),
    QStringLiteral("Abgesicherter Modus"),
    QStringLiteral("Einzelbestätigung"),
    QStringLiteral("Nur Eingabeaufforderung"),
    QStringLiteral("Abgesicherter Modus, nur Eingabeaufforderung"),
};
inline const QString StartMenuChoice = QStringLiteral("Auswahl eingeben: ");
inline const QString StartMenuKeys =
    QStringLiteral("Mit ↑ und ↓ oder der Nummer auswählen, mit der EINGABETASTE starten.");

// What HELP shows: the commands this COMMAND.COM knows.
inline const QStringList Help = {
    QStringLiteral("Befehle dieser Eingabeaufforderung:"),
    QStringLiteral(""),
    QStringLiteral("  A: B: C: ...  Laufwerk wechseln           CD, CHDIR   Verzeichnis wechseln"),
    QStringLiteral("  DIR /W /P /A  Verzeichnis anzeigen        MD, MKDIR   Verzeichnis erstellen"),
    QStringLiteral("  RD, RMDIR     leeres Verzeichnis löschen  COPY        Dateien kopieren"),
    QStringLiteral("  DEL, ERASE    Dateien löschen             REN, RENAME Dateien umbenennen"),
    QStringLiteral("  TYPE          Textdatei anzeigen          CLS         Bildschirm löschen"),
    QStringLiteral("  VER           Windows-Version anzeigen    VOL         Datenträgerbezeichnung"),
    QStringLiteral("  ECHO          Text anzeigen               SET         Umgebungsvariablen"),
    QStringLiteral("  PATH          Suchpfad anzeigen/setzen    CALL        Batchdatei aufrufen"),
    QStringLiteral("  PAUSE         auf eine Taste warten       EXIT        beenden"),
    QStringLiteral("  HELP          diese Übersicht"),
    QStringLiteral(""),
    QStringLiteral("Programme und Batchdateien starten mit ihrem Namen (z. B. RESTORE, WIN)."),
    QStringLiteral("Lange Namen in Anführungszeichen: CD \"Velko Save\"; Platzhalter * und ?."),
    QStringLiteral("Tasten: Rücktaste, Esc (Zeile löschen), F3 (letzte Zeile), Strg+C (abbrechen)."),
};

// The message for a DOS error code of a file operation.
QString forError(int dosError);

}  // namespace dos::message
