#pragma once

#include <QList>
#include <QString>

// The eleven Windows 9x start-up files an emergency disk protects.
namespace emergency {

struct SystemFile {
    QString copyName;  // name of the copy in the Notfall folder, e.g. "Io.sys"
    QString scriptName;  // the name the boot script uses, e.g. "io.sys"
    bool inRoot = false;  // files 1 to 5 live in a drive root, the others in the Windows directory
    bool clearAttributes = false;  // the script clears the target's attributes before its copy
    bool setAttributes = false;  // and sets read-only, hidden and system again after it

    // Where the copy is read from: the root files always from C:, whatever the boot drive.
    QString source(const QString &windowsDirectory) const;
};

// In the order of their blocks in the boot script.
const QList<SystemFile> &scriptOrder();
// In the order the copy step refreshes them.
const QList<SystemFile> &copyOrder();

// The folder of the copies: "Notfall" in the Program directory, after the root rule.
QString notfallFolder(const QString &programDirectory);

}  // namespace emergency
