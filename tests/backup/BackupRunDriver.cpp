// A backup run in a process of its own, as the program's backup command runs it, so that a test
// can kill it at any moment: backup-run-driver MACHINE DESTINATION FILE... Exits with 0 when every
// file was saved, Restore.bat written and the attribute records stored; 1 otherwise, 2 when the PC
// cannot be loaded.
#include "backup/core/Runner.h"
#include "platform/drives/Pc.h"
#include "platform/files/FileRun.h"
#include "platform/machine/Clock.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

class Report : public backup::RunObserver {
public:
    void missing(const backup::MarkedFile &file) override { fail("missing", file.path); }
    void copyFailed(const backup::MarkedFile &file, const QString &, int error) override
    {
        fail("copy failed", file.path + QStringLiteral(": %1").arg(error));
    }
    void folderFailed(int error) override { fail("folder failed", QString::number(error)); }
    void scriptFailed() override { fail("script failed", {}); }
    void pifFailed() override {}  // the test's PC supplies no restore.pif
    void progress(int, int) override {}

    bool failed = false;

private:
    void fail(const char *what, const QString &detail)
    {
        std::fprintf(stderr, "backup-run-driver: %s %s\n", what, qPrintable(detail));
        failed = true;
    }
};

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: backup-run-driver MACHINE DESTINATION FILE...\n");
        return 2;
    }
    const auto pc = platform::startPcForProgram("backup-run-driver", arguments[0]);
    if (!pc)
        return 2;
    backup::RunRequest request;
    for (const QString &path : arguments.mid(2))
        request.files.append({int(request.files.size()), path, path});
    request.destination = arguments[1];
    request.programDirectory = QStringLiteral("D:\\");
    request.windowsShort = QStringLiteral("C:\\WINDOWS");
    request.started = platform::now();

    Report report;
    platform::FileRun fileRun;
    const backup::RunSummary summary = backup::runBackup(request, report);
    const int recordsError = fileRun.finish();
    return report.failed || recordsError != 0 || summary.saved != int(request.files.size()) ? 1 : 0;
}
