#pragma once

#include <QString>

#include <stdexcept>

namespace platform {

// Error codes as MS-DOS and Windows 9x report them; 0 means success.
namespace dos {
constexpr int Ok = 0;
constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;   // also: a name the file system does not allow
constexpr int AccessDenied = 5;
constexpr int InvalidDrive = 15;
constexpr int WriteProtected = 19;
constexpr int NotReady = 21;
constexpr int DiskFull = 101;
}  // namespace dos

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
    int code() const { return m_code; }
    QString path() const { return m_path; }

private:
    int m_code;
    QString m_path;
};

// Throws IoError when code is not Ok; lets a command stop at a failed step.
void throwOnError(int code, const QString &path = {});

}  // namespace platform
