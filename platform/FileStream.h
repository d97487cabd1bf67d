#pragma once

#include "platform/DosError.h"

#include <QString>

#include <memory>

// Files read and written piece by piece, at the disk's speed, for copies that must not load a
// whole file into memory.
namespace platform {

namespace detail {
class InputStream;
class OutputStream;
}  // namespace detail

// An existing file opened for reading.
class InputFile {
public:
    InputFile();
    InputFile(InputFile &&) noexcept;
    InputFile &operator=(InputFile &&) noexcept;
    ~InputFile();

    [[nodiscard]] static DosResult<InputFile> open(const QString &path);
    // Up to `size` bytes; 0 at the end of the file.
    [[nodiscard]] DosResult<qsizetype> read(char *buffer, qsizetype size);

private:
    std::unique_ptr<detail::InputStream> m_stream;
};

// New content for a file: written under a temporary name beside it, put in its place by
// commit(). Until then the file stays as it was; dropped without commit, nothing is left behind.
// The new file gets the archive attribute and the current time; like Windows, a read-only file
// is not replaced (AccessDenied).
class OutputFile {
public:
    OutputFile();
    OutputFile(OutputFile &&) noexcept;
    OutputFile &operator=(OutputFile &&) noexcept;
    ~OutputFile();

    [[nodiscard]] static DosResult<OutputFile> create(const QString &path);
    [[nodiscard]] int write(const char *data, qsizetype size);
    [[nodiscard]] int commit();

private:
    std::unique_ptr<detail::OutputStream> m_stream;
};

}  // namespace platform
