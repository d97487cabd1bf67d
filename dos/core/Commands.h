#pragma once

#include "platform/text/DosError.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace dos {

class Interpreter;

bool isSwitch(const QString &argument);
// The one drive ("A:") a program works on, upper case; empty after the screen said what is wrong
// (no drive, more than one, no such drive).
std::optional<QChar> onlyDrive(Interpreter &shell, const QStringList &names);

// Internal commands that work on files.
void copyCommand(Interpreter &shell, const QStringList &arguments);
void deleteCommand(Interpreter &shell, const QStringList &arguments);
void typeCommand(Interpreter &shell, const QStringList &arguments);
void renameCommand(Interpreter &shell, const QStringList &arguments);
void dirCommand(Interpreter &shell, const QStringList &arguments);
void makeDirectoryCommand(Interpreter &shell, const QStringList &arguments);
void removeDirectoryCommand(Interpreter &shell, const QStringList &arguments);
// " Datenträger in Laufwerk C: ist WIN98", as VOL and DIR start.
platform::DosResult<QString> volumeLine(QChar letter);
void versionCommand(Interpreter &shell);
void volumeCommand(Interpreter &shell, const QStringList &arguments);
void helpCommand(Interpreter &shell);

// External programs, run when their stand-in file is found through the search path. Each returns
// its exit code: 0 when it did its work, 1 when it reported a failure, FORMAT its own codes.
int attribProgram(Interpreter &shell, const QStringList &arguments);
int scanDiskProgram(Interpreter &shell, const QStringList &arguments);
int formatProgram(Interpreter &shell, const QStringList &arguments);
int sysProgram(Interpreter &shell, const QStringList &arguments);
int winProgram(Interpreter &shell, const QStringList &arguments);

using Program = int (*)(Interpreter &shell, const QStringList &arguments);
// The program a stand-in name (platform::standInName) stands for; null when this PC cannot run it.
Program programFor(const QString &standInName);

}  // namespace dos
