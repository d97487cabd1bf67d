#pragma once

#include "platform/DosError.h"

#include <QByteArray>
#include <QString>

#include <optional>

#include <sys/stat.h>

// Inside the platform layer only: system calls on host paths, failures as DOS error codes.
namespace platform::detail {

// A failure the DOS codes have no better name for.
constexpr int GeneralFailure = 31;

// The DOS code for a host errno value; whenMissing stands for ENOENT (a file: 2, a folder: 3).
int dosErrorFromErrno(int error, int whenMissing = dos::FileNotFound);

QByteArray hostName(const QString &hostPath);
QString hostChild(const QString &hostFolder, const QString &name);

// stat() that follows links; empty when the path does not exist or cannot be examined.
std::optional<struct stat> statHost(const QString &hostPath);

bool isHostLink(const QString &hostPath);

DosResult<QByteArray> readHostFile(const QString &hostPath);

// No write follows a symbolic link. Writing and copying replace a link by a new file; appending
// fails on one (3), so that the caller can write the whole file anew.
// Creates or truncates the file and writes data; exclusive fails with 5 when it exists already.
int writeHostFile(const QString &hostPath, const QByteArray &data, bool exclusive = false);
int appendHostFile(const QString &hostPath, const QByteArray &data);

// Creates or truncates `to` with the bytes and the last-write time of `from`. Like Windows, a
// copy that fails once `to` was opened leaves no partial file behind.
int copyHostFile(const QString &from, const QString &to);

// Removes a folder with everything in it; goes on past failures and returns the first.
int removeHostTree(const QString &hostPath);

}  // namespace platform::detail
