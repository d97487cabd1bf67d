#pragma once

#include <QString>

#include <stdexcept>

namespace platform {

// Error codes as MS-DOS and Windows 9x report them; 0 means success. Every code the program
// uses stands here, and fileErrorText gives the German text of each.
namespace dos {
constexpr int Ok = 0;
constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;  // also: a name the file system does not allow
constexpr int TooManyOpenFiles = 4;
constexpr int AccessDenied = 5;
constexpr int InvalidData = 13;
constexpr int InvalidDrive = 15;
constexpr int WriteProtected = 19;
constexpr int NotReady = 21;
constexpr int NotDosDisk = 26;  // a disk without a file system the drive can read
constexpr int GeneralFailure = 31;  // a failure the other codes have no better name for
constexpr int SharingViolation = 32;  // also: a file copied onto itself
constexpr int InvalidParameter = 87;
constexpr int ReadPastEnd = 100;
constexpr int DiskFull = 101;
constexpr int InvalidNumber = 106;
constexpr int TimedOut = 121;  // a helper program on the disk did not end in time
}  // namespace dos

// The German text of a file error by its code ("Dateizugriff verweigert" for 5); a code without
// a text of its own gives "E/A-Fehler" and the number.
[[nodiscard]] QString fileErrorText(int code);

// The general error report's text for a file error: the file's path, when known, on the line
// before the error's text.
[[nodiscard]] QString fileErrorReport(int code, const QString &path);

// Result of a platform service: an error code and, on success, a value.
template <typename T>
struct DosResult {
    int error = dos::Ok;
    T value{};
    bool ok() const { return error == dos::Ok; }
};

// A file error that ends a command and reaches the general error report.
class IoError : public std::runtime_error {
public:
    explicit IoError(int code, const QString &path = {});
    [[nodiscard]] int code() const { return m_code; }
    QString path() const { return m_path; }

private:
    int m_code;
    QString m_path;
};

// Throws IoError when code is not Ok; lets a command stop at a failed step.
void throwOnError(int code, const QString &path = {});

}  // namespace platform
