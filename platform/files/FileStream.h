#pragma once

#include "platform/text/DosError.h"

#include <QByteArrayView>
#include <QString>

#include <algorithm>
#include <cstring>
#include <memory>

// Files read and written piece by piece at the disk's speed: small pieces go through a buffer in
// memory, and the drive sees large reads and writes only.
namespace platform {

namespace detail {
class InputStream;
class OutputStream;
}  // namespace detail

constexpr qsizetype FileStreamBufferSize = 256 * 1024;

// An existing file opened for reading.
class InputFile {
public:
    InputFile();
    InputFile(InputFile &&) noexcept;
    InputFile &operator=(InputFile &&) noexcept;
    ~InputFile();

    [[nodiscard]] static DosResult<InputFile> open(const QString &path);

    // Up to `size` bytes, read through a large buffer and handed out without a copy; valid until
    // the next call; empty at the end of the file.
    [[nodiscard]] DosResult<QByteArrayView> next(qsizetype size)
    {
        if (m_position == m_filled) {
            if (const int error = refill())
                return {error, {}};
        }
        const qsizetype count = std::min(size, m_filled - m_position);
        const QByteArrayView piece(m_buffer.get() + m_position, count);
        m_position += count;
        return {dos::Ok, piece};
    }

private:
    [[nodiscard]] int refill();

    std::unique_ptr<detail::InputStream> m_stream;
    std::unique_ptr<char[]> m_buffer;
    qsizetype m_filled = 0;
    qsizetype m_position = 0;
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

    [[nodiscard]] int write(const char *data, qsizetype size)
    {
        if (m_filled + size > FileStreamBufferSize)
            return writeThrough(data, size);
        std::memcpy(m_buffer.get() + m_filled, data, size_t(size));
        m_filled += size;
        return dos::Ok;
    }
    [[nodiscard]] int commit();

private:
    [[nodiscard]] int writeThrough(const char *data, qsizetype size);

    std::unique_ptr<detail::OutputStream> m_stream;
    std::unique_ptr<char[]> m_buffer;
    qsizetype m_filled = 0;
};

}  // namespace platform
