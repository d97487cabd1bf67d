#include "platform/DosError.h"

namespace platform {

IoError::IoError(int code, const QString &path)
    : std::runtime_error(QStringLiteral("DOS error %1: %2").arg(code).arg(path).toStdString()),
      m_code(code),
      m_path(path)
{
}

void throwOnError(int code, const QString &path)
{
    if (code != dos::Ok)
        throw IoError(code, path);
}

}  // namespace platform
