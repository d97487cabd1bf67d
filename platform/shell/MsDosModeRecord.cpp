#include "platform/shell/MsDosModeRecord.h"

#include "platform/drives/Files.h"
#include "platform/files/Profile.h"

#include <array>
#include <utility>

namespace platform {

namespace {

const QString Section = QStringLiteral("MS-DOS-Modus");
const QString BatchKey = QStringLiteral("Stapeldatei");
const QString EndKey = QStringLiteral("Ende");

const std::array<std::pair<BatchEnd, QString>, 6> EndNames = {{
    {BatchEnd::Running, QStringLiteral("laeuft")},
    {BatchEnd::Completed, QStringLiteral("ausgefuehrt")},
    {BatchEnd::Aborted, QStringLiteral("abgebrochen")},
    {BatchEnd::Truncated, QStringLiteral("unvollstaendig")},
    {BatchEnd::Empty, QStringLiteral("leer")},
    {BatchEnd::NotFound, QStringLiteral("nicht gefunden")},
}};

}  // namespace

QString msDosModeRecordPath(const QString &autostartFolder)
{
    return autostartFolder + QStringLiteral("\\MSDOSMOD.ERG");
}

int writeMsDosModeRecord(const QString &path, const MsDosModeRecord &record)
{
    ProfileDocument document;
    document.setValue(Section, BatchKey, record.batchFile);
    for (const auto &[end, name] : EndNames) {
        if (end == record.end)
            document.setValue(Section, EndKey, name);
    }
    if (const int error = writeProfile(path, document))
        return error;
    return setFileAttributes(path, attr::Hidden | attr::Archive);
}

DosResult<std::optional<MsDosModeRecord>> readMsDosModeRecord(const QString &path)
{
    if (!fileExists(path))
        return {dos::Ok, std::nullopt};
    const auto document = readProfile(path);
    if (!document.ok())
        return {document.error, std::nullopt};
    const QString batchFile = document.value.value(Section, BatchKey, QString());
    const QString endName = document.value.value(Section, EndKey, QString());
    for (const auto &[end, name] : EndNames) {
        if (name == endName && !batchFile.isEmpty())
            return {dos::Ok, MsDosModeRecord{batchFile, end}};
    }
    return {dos::Ok, std::nullopt};
}

}  // namespace platform
