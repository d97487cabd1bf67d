#include "platform/files/Profile.h"

#include "platform/drives/Files.h"
#include "platform/text/AnsiText.h"

namespace platform {

namespace {

// An editor may put it before the Windows-1252 text.
const QByteArray Utf8Mark("\xEF\xBB\xBF");

// The file's text, and the UTF-8 mark it starts with (if any) to write back before it.
struct ProfileFile {
    QByteArray mark;
    ProfileDocument document;
};

DosResult<ProfileFile> readProfileFile(const QString &path)
{
    auto bytes = readFile(path);
    if (bytes.error == dos::FileNotFound || bytes.error == dos::PathNotFound)
        return {dos::Ok, {}};
    if (!bytes.ok())
        return {bytes.error, {}};
    ProfileFile file;
    if (bytes.value.startsWith(Utf8Mark))
        file.mark = Utf8Mark;
    file.document = profileOfBytes(bytes.value);
    return {dos::Ok, file};
}

int writeProfileFile(const QString &path, const ProfileFile &file)
{
    const auto bytes = toAnsi(file.document.text());
    if (!bytes)
        return dos::InvalidParameter;
    return replaceFile(path, file.mark + *bytes);
}

}  // namespace

ProfileDocument profileOfBytes(const QByteArray &bytes)
{
    return ProfileDocument::parse(fromAnsi(bytes.startsWith(Utf8Mark) ? bytes.sliced(Utf8Mark.size()) : bytes));
}

DosResult<ProfileDocument> readProfile(const QString &path)
{
    const auto file = readProfileFile(path);
    return {file.error, file.value.document};
}

int writeProfile(const QString &path, const ProfileDocument &document)
{
    return writeProfileFile(path, {{}, document});
}

QString profileString(const QString &path, const QString &section, const QString &key,
                      const QString &defaultValue)
{
    const auto document = readProfile(path);
    return document.ok() ? document.value.value(section, key, defaultValue) : defaultValue;
}

int writeProfileString(const QString &path, const QString &section, const QString &key, const QString &value)
{
    auto file = readProfileFile(path);
    if (!file.ok())
        return file.error;
    file.value.document.setValue(section, key, value);
    return writeProfileFile(path, file.value);
}

}  // namespace platform
