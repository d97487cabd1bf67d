#pragma once

#include <QList>
#include <QStringList>
#include <QTemporaryDir>

// What recording-dos (the velko-dos stand-in of tests that set VELKO_DOS to it) was asked to run
// while this lives: one argument list per command, and the copies of their "< FILE" inputs.
class DosRecord {
public:
    DosRecord();
    ~DosRecord();
    DosRecord(const DosRecord &) = delete;
    DosRecord &operator=(const DosRecord &) = delete;

    QList<QStringList> commands() const;
    // The n-th input file as the command found it (from 1); "(none)" when there is no such copy.
    QByteArray input(int number) const;

private:
    QTemporaryDir m_dir;
};

// The PC's COMMAND.COM: a stand-in that runs "/c" command lines on the MS-DOS side.
inline const QByteArray CommandComStandIn =
    "COMMAND.COM - stand-in for the MS-DOS 7.10 command interpreter of Windows 98.\r\n";

// velko-dos's arguments for a hidden "command.com /c" command line in the directory "C:".
QStringList hiddenDosArguments(const QString &commandLine);
