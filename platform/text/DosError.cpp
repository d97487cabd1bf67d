#include "platform/text/DosError.h"

#include "platform/text/LineBreak.h"

namespace platform {

QString fileErrorText(int code)
{
    switch (code) {
    case dos::FileNotFound:
        return QStringLiteral("Datei nicht gefunden");
    case dos::PathNotFound:
        return QStringLiteral("Ungültiger Dateiname");
    case dos::TooManyOpenFiles:
        return QStringLiteral("Zu viele geöffnete Dateien");
    case dos::AccessDenied:
        return QStringLiteral("Dateizugriff verweigert");
    case dos::ReadPastEnd:
        return QStringLiteral("Versuch hinter dem Dateiende zu lesen");
    case dos::DiskFull:
        return QStringLiteral("Zu wenig Speicherplatz");
    case dos::InvalidNumber:
        return QStringLiteral("Ungültige numerische Eingabe");
    case dos::TimedOut:
        return QStringLiteral("Zeitüberschreitung beim Zugriff auf den Datenträger");
    }
    return QStringLiteral("E/A-Fehler %1").arg(code);
}

QString fileErrorReport(int code, const QString &path)
{
    const QString text = fileErrorText(code);
    if (path.isEmpty())
        return text;
    return path + LineBreak + text;
}

IoError::IoError(int code, const QString &path)
    : std::runtime_error(QStringLiteral("DOS error %1: %2").arg(code).arg(path).toStdString()),
      m_code(code),
      m_path(path)
{}

void throwOnError(int code, const QString &path)
{
    if (code != dos::Ok)
        throw IoError(code, path);
}

}  // namespace platform
