#pragma once

#include <QChar>
#include <QList>
#include <QString>

#include <memory>

namespace platform {

enum class DriveKind { Fixed, Floppy, CdRom };

struct Drive {
    QChar letter;  // upper case
    DriveKind kind = DriveKind::Fixed;
    QString hostPath;  // absolute host folder (fixed, cdrom) or image file (floppy); empty: no medium
    bool writeProtected = false;  // floppy listed "readonly"; a cdrom is always read-only
    QString label;  // volume label of a fixed or CD drive, from [Labels]; empty: none
};

// The simulated Windows 9x PC: a host folder with machine.ini and the drives' contents.
class Machine {
public:
    // Reads hostFolder/machine.ini. Returns null and sets *error (German-free, for stderr) when it
    // cannot be read or is malformed.
    static std::unique_ptr<Machine> load(const QString &hostFolder, QString *error);

    // The first folder at or above hostStartDir that holds machine.ini; empty when there is none.
    static QString findFolder(const QString &hostStartDir);

    QString folder() const { return m_folder; }
    QString windowsDirectory() const { return m_windowsDirectory; }  // e.g. C:\WINDOWS
    const QList<Drive> &drives() const { return m_drives; }  // sorted by letter
    const Drive *drive(QChar letter) const;  // null: no such drive

    // Host path -> Windows path spelled as on disk (C:\Programme\Velko Save); empty when the
    // host path lies on no drive of this machine.
    QString windowsPathOf(const QString &hostPath) const;

private:
    QString m_folder;
    QString m_windowsDirectory;
    QList<Drive> m_drives;
};

// The current PC's machine (see Pc.h); a fatal error when no PC is current.
Machine &machine();
bool hasMachine();  // a PC is current
// The current PC gets a new machine description and starts afresh: its caches and current
// directories are forgotten. Null: no PC is current any more.
void setMachine(std::unique_ptr<Machine> machine);

}  // namespace platform
