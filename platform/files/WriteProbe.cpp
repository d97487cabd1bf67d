#include "platform/files/WriteProbe.h"

#include "platform/drives/Files.h"

namespace platform {

int probeWritable(const QString &directory)
{
    const QString base = directory + QStringLiteral("Test");
    QString probe = base;
    for (int number = 1; fileExists(probe) || directoryExists(probe); ++number)
        probe = base + QString::number(number);
    if (const int error = createEmptyFile(probe))
        return error;
    return deleteFile(probe);
}

}  // namespace platform
