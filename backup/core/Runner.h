#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// The backup run itself, without a window: copies the marked files flat into the backup folder,
// writes Restore.bat and Restore.pif beside them, and says how it went.
namespace backup {

// A row of the Backup list that is marked for the run.
struct MarkedFile {
    int row = -1;  // its row in the list, for the observer
    QString path;  // C:\WINDOWS\WIN.INI
    QString displayName;  // the name the list shows, written into the script
};

struct RunRequest {
    QList<MarkedFile> files;  // checked beforehand: no two names alike, none named Restore.*
    QString destination;  // the directory as the tree shows it ("D:\" for a root)
    QString programDirectory;  // holds the supplied restore.pif
    QString windowsShort;  // 8.3 form of the Windows directory, for the script
    QDateTime started;  // the date and time the script is stamped with
};

// What the run reports while it works. The run goes on after each call, except after
// folderFailed, which ends the copying.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    // The checks before a run passed and it begins (backUp, before anything is copied).
    virtual void started() {}
    virtual void missing(const MarkedFile &file) = 0;
    virtual void copyFailed(const MarkedFile &file, const QString &target, int error) = 0;
    virtual void folderFailed(int error) = 0;
    // Restore.bat, or Restore.pif, could not be written: the copies may not come back.
    virtual void scriptFailed() = 0;
    virtual void pifFailed() = 0;
    // `done` of `total` files handled so far; not called for the file whose folder failed.
    virtual void progress(int done, int total) = 0;
};

struct RunSummary {
    int saved = 0;
    int missing = 0;
    bool folderFailed = false;
    QString statusText;
    bool holdsScript = false;  // a Restore.bat now stands in the destination (this run's or earlier)
};

RunSummary runBackup(const RunRequest &request, RunObserver &observer);

}  // namespace backup
