#include "app/core/Startup.h"

#include "platform/drives/Files.h"
#include "platform/files/Profile.h"
#include "platform/text/DosError.h"

namespace startup {

namespace {

bool writeDefaults(const QString &programDirectory, const QString &windowsDirectory)
{
    if (platform::writeProfile(settings::filePath(programDirectory),
                               settings::defaultDocument(programDirectory, windowsDirectory))
        != platform::dos::Ok) {
        return false;
    }
    // A failure shows when the directory tree cannot enter it.
    (void)platform::forceDirectories(settings::backupsDirectory(programDirectory));
    return true;
}

}  // namespace

QString programDirectory()
{
    return platform::withoutRootBackslash(platform::currentDirectory());
}

SettingsAtStart openSettings(const QString &programDirectory, const QString &windowsDirectory)
{
    using Failure = SettingsAtStart::Failure;
    SettingsAtStart result;
    const auto fail = [&result](Failure failure, int error) {
        result.failure = failure;
        result.error = error;
        return result;
    };
    const QString path = settings::filePath(programDirectory);
    if (platform::directoryExists(path))
        return fail(Failure::Unreadable, platform::dos::AccessDenied);
    if (!platform::fileExists(path)) {
        if (!writeDefaults(programDirectory, windowsDirectory))
            return fail(Failure::NotWritten, platform::dos::Ok);
        result.firstStart = true;
    }
    if (!platform::fileExists(path))
        return result;
    const auto contents = platform::readFile(path);
    if (!contents.ok())
        return fail(Failure::Unreadable, contents.error);
    if (settings::firstLineRejects(contents.value)) {
        if (const int error = platform::createEmptyFile(path))
            return fail(Failure::NotEmptied, error);
        if (!writeDefaults(programDirectory, windowsDirectory))
            return fail(Failure::NotWritten, platform::dos::Ok);
        result.firstStart = true;
        const auto document = platform::readProfile(path);
        if (!document.ok())
            return fail(Failure::Unreadable, document.error);
        result.settings = settings::read(document.value);
        return result;
    }
    // The bytes the first line was tested on are the settings: a long list is read once.
    result.settings = settings::read(contents.value);
    return result;
}

}  // namespace startup
