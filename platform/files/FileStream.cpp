#include "platform/files/FileStream.h"

#include "platform/drives/Files.h"
#include "platform/drives/detail/DriveBackend.h"
#include "platform/drives/detail/PathResolver.h"

#include <cstring>
#include <utility>

namespace platform {

namespace detail {

namespace {

// A whole file read at once, handed out piece by piece.
class WholeInput : public InputStream {
public:
    explicit WholeInput(QByteArray data)
        : m_data(std::move(data))
    {}
    DosResult<qsizetype> read(char *buffer, qsizetype size) override
    {
        const qsizetype count = qMin(size, m_data.size() - m_position);
        std::memcpy(buffer, m_data.constData() + m_position, size_t(count));
        m_position += count;
        return {dos::Ok, count};
    }

private:
    QByteArray m_data;
    qsizetype m_position = 0;
};

// Collects the content and writes the whole file on commit, beside it and then in its place.
class WholeOutput : public OutputStream {
public:
    WholeOutput(DriveBackend &backend, Location file, quint8 attributes)
        : m_backend(backend),
          m_file(std::move(file)),
          m_attributes(attributes)
    {}
    int write(const char *data, qsizetype size) override
    {
        m_data.append(data, size);
        return dos::Ok;
    }
    int commit() override { return m_backend.write(m_file, m_data, WriteMode::Replace, m_attributes); }

private:
    DriveBackend &m_backend;
    Location m_file;
    quint8 m_attributes;
    QByteArray m_data;
};

}  // namespace

DosResult<std::unique_ptr<InputStream>> DriveBackend::openInput(const Location &file)
{
    auto data = read(file);
    if (!data.ok())
        return {data.error, nullptr};
    return {dos::Ok, std::make_unique<WholeInput>(std::move(data.value))};
}

DosResult<std::unique_ptr<OutputStream>> DriveBackend::openReplacing(const Location &file, quint8 attributes)
{
    return {dos::Ok, std::make_unique<WholeOutput>(*this, file, attributes)};
}

}  // namespace detail

InputFile::InputFile() = default;
InputFile::InputFile(InputFile &&) noexcept = default;
InputFile &InputFile::operator=(InputFile &&) noexcept = default;
InputFile::~InputFile() = default;

DosResult<InputFile> InputFile::open(const QString &path)
{
    const auto location = detail::locate(path);
    if (!location.ok())
        return {location.error, {}};
    if (!location.value.exists)
        return {dos::FileNotFound, {}};
    if (location.value.isDirectory)
        return {dos::AccessDenied, {}};
    auto stream = location.value.backend().openInput(location.value);
    if (!stream.ok())
        return {stream.error, {}};
    InputFile file;
    file.m_stream = std::move(stream.value);
    return {dos::Ok, std::move(file)};
}

int InputFile::refill()
{
    if (!m_buffer)
        m_buffer.reset(new char[FileStreamBufferSize]);
    m_position = 0;
    m_filled = 0;
    const auto got = m_stream->read(m_buffer.get(), FileStreamBufferSize);
    if (got.ok())
        m_filled = got.value;
    return got.error;
}

OutputFile::OutputFile() = default;
OutputFile::OutputFile(OutputFile &&) noexcept = default;
OutputFile &OutputFile::operator=(OutputFile &&) noexcept = default;
OutputFile::~OutputFile() = default;

DosResult<OutputFile> OutputFile::create(const QString &path)
{
    const auto location = detail::locate(path);
    if (!location.ok())
        return {location.error, {}};
    const auto target = detail::writableFile(location.value, attr::ReadOnly);
    if (!target.ok())
        return {target.error, {}};
    const detail::Location &file = target.value.location;
    auto stream = file.backend().openReplacing(file, attr::Archive);
    if (!stream.ok())
        return {stream.error, {}};
    OutputFile output;
    output.m_stream = std::move(stream.value);
    output.m_buffer.reset(new char[FileStreamBufferSize]);
    return {dos::Ok, std::move(output)};
}

// The buffer goes first; a piece that would not fit in it then goes straight to the file.
int OutputFile::writeThrough(const char *data, qsizetype size)
{
    const qsizetype filled = std::exchange(m_filled, 0);
    if (const int error = m_stream->write(m_buffer.get(), filled))
        return error;
    if (size >= FileStreamBufferSize)
        return m_stream->write(data, size);
    std::memcpy(m_buffer.get(), data, size_t(size));
    m_filled = size;
    return dos::Ok;
}

int OutputFile::commit()
{
    if (const int error = m_stream->write(m_buffer.get(), std::exchange(m_filled, 0)))
        return error;
    return m_stream->commit();
}

}  // namespace platform
