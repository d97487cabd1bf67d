#include "emergency/NotfallCopies.h"

#include "platform/FileStream.h"
#include "platform/Files.h"

namespace emergency {

void copyInBlocks(const QString &source, const QString &copy)
{
    auto input = platform::InputFile::open(source);
    platform::throwOnError(input.error, source);
    auto output = platform::OutputFile::create(copy);
    platform::throwOnError(output.error, copy);

    char block[256];
    for (;;) {
        const auto got = input.value.read(block, sizeof block);
        platform::throwOnError(got.error, source);
        if (got.value == 0)
            break;
        platform::throwOnError(output.value.write(block, got.value), copy);
    }
    platform::throwOnError(output.value.commit(), copy);
}

void copySystemFiles(const QString &programDirectory, const QString &windowsDirectory,
                     const std::function<void(const SystemFile &file)> &finished)
{
    const QString folder = notfallFolder(programDirectory);
    for (const SystemFile &file : copyOrder()) {
        const QString source = file.source(windowsDirectory);
        if (platform::fileExists(source))
            copyInBlocks(source, folder + u'\\' + file.copyName);
        finished(file);
    }
}

}  // namespace emergency
