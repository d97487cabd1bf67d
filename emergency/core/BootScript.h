#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// The floppy's Autoexec.bat: booted from the emergency disk, MS-DOS runs it and it copies the
// system files back from the Notfall folder on the hard disk.
namespace emergency {

struct BootScriptValues {
    QChar bootDrive;  // upper case, e.g. 'C'
    QString notfallShort;  // 8.3 form of the Notfall folder, no trailing backslash; empty if missing
    QString windowsShort;  // 8.3 form of the Windows directory
    QString date;  // dd.MM.yy
    QString time;  // HH:mm:ss
    bool scanDisk = false;  // <Windows>\command\scandisk.exe exists
};

QStringList composeBootScript(const BootScriptValues &values);

// The script step: creates the Notfall folder in the Program directory, takes the short forms,
// the date and time, and writes <floppy>:\Autoexec.bat (in code page 850, CR LF), replacing an
// earlier one. A failed write throws platform::IoError naming the script.
void writeBootScript(QChar floppy, QChar bootDrive, const QString &programDirectory,
                     const QString &windowsDirectory);

}  // namespace emergency
