#pragma once

#include <QObject>
#include <QString>

// A shortcut file (.lnk) written from, or read into, a set of properties. Each Write or Read is
// self-contained; the only state left behind is the properties, including the working directory
// that Write derives from ProgramFile when none is set.
class TShellLink : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Arguments MEMBER Arguments)
    Q_PROPERTY(QString Description MEMBER Description)
    Q_PROPERTY(QString IconFile MEMBER IconFile)
    Q_PROPERTY(quint32 IconIndex MEMBER IconIndex)
    Q_PROPERTY(quint16 HotKey MEMBER HotKey)
    Q_PROPERTY(QString LinkFile MEMBER LinkFile)
    Q_PROPERTY(QString ProgramFile MEMBER ProgramFile)
    Q_PROPERTY(TWindowState WindowState MEMBER WindowState)
    Q_PROPERTY(QString WorkingDirectory MEMBER WorkingDirectory)

public:
    enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
    Q_ENUM(TWindowState)

    explicit TShellLink(QObject *owner = nullptr);

    QString Arguments;
    QString Description;
    QString IconFile;
    QString ProgramFile;
    QString LinkFile;
    QString WorkingDirectory;
    quint32 IconIndex = 0;
    quint16 HotKey = 0;
    TWindowState WindowState = TWindowState::wsNormal;

    // Failures (a missing folder, a full or write-protected disk, a damaged file) go unreported,
    // as with the shell's own link object: callers that need the file check for it.
    Q_INVOKABLE void Write();
    Q_INVOKABLE void Read();
};
