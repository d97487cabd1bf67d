#pragma once

#include "platform/text/DosError.h"
#include "platform/text/ProfileDocument.h"

#include <QString>

namespace platform {

// The file-level profile functions, each opening, reading or writing and closing the file
// (Windows-1252 text; a leading UTF-8 mark is skipped on reading and kept by writeProfileString).
// Writing creates the file when it does not exist.
[[nodiscard]] DosResult<ProfileDocument> readProfile(const QString &path);  // a missing file reads as empty
// The document of a file's bytes, as readProfile reads it (for a caller that has read them).
ProfileDocument profileOfBytes(const QByteArray &bytes);
[[nodiscard]] int writeProfile(const QString &path,
                               const ProfileDocument &document);  // whole file, or nothing
QString profileString(const QString &path, const QString &section, const QString &key,
                      const QString &defaultValue);
[[nodiscard]] int writeProfileString(const QString &path, const QString &section, const QString &key,
                                     const QString &value);

}  // namespace platform
