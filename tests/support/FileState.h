#pragma once

#include "platform/drives/Files.h"

#include <QByteArray>

// A file's bytes and attributes, to compare a restored file with the one that was saved.
struct FileState {
    QByteArray bytes;
    quint8 attributes = 0;
    bool operator==(const FileState &other) const = default;
};

inline FileState stateOf(const QString &path)
{
    return {platform::readFile(path).value, platform::fileAttributes(path).value};
}
