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
    // Absolute host folder (fixed, cdrom) or image file (floppy, fixed drive on a disk image);
    // empty: no medium.
    QString hostPath;
    bool writeProtected = false;  // floppy or disk image listed "readonly"; a cdrom is always read-only
    // Volume label of a fixed or CD drive, from [Labels], or of a disk image's volume as it was at
    // start; empty: none. A floppy's is read from its disk (see Floppy.h).
    QString label;
    // A fixed drive listed as "disk": its files are the FAT volume at volumeOffset in the
    // hard-disk image hostPath, which gives it volumeBytes.
    bool onDiskImage = false;
    qint64 volumeOffset = 0;
    qint64 volumeBytes = 0;
    bool isImage() const { return kind == DriveKind::Floppy || onDiskImage; }  // a FAT volume in a file
};

// The simulated Windows 9x PC: a host folder with machine.ini and the drives' contents.
class Machine {
public:
    // Reads hostFolder/machine.ini. Returns null and sets *error (for stderr) when it cannot be
    // read or is malformed, or when a disk image cannot serve as a drive (then in German, for
    // the user who set it up).
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
