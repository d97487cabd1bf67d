#include "emergency/core/NotfallCopies.h"

#include "platform/drives/Files.h"
#include "platform/files/FileStream.h"

namespace emergency {

void copyInBlocks(const QString &source, const QString &copy)
{
    auto input = platform::InputFile::open(source);
    platform::throwOnError(input.error, source);
    auto output = platform::OutputFile::create(copy);
    platform::throwOnError(output.error, copy);

    // Blocks of 256 bytes, taken from the input's buffer without a copy of their own.
    for (;;) {
        const auto block = input.value.next(256);
        platform::throwOnError(block.error, source);
        if (block.value.isEmpty())
            break;
        platform::throwOnError(output.value.write(block.value.data(), block.value.size()), copy);
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
