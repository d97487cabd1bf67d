#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace dos {

class Interpreter;

// A command's arguments: split at blanks, commas, semicolons and equals signs; a '/' starts a
// switch of its own ("C:\X/V" gives "C:\X" and "/V").
QStringList splitArguments(const QString &text);
bool isSwitch(const QString &argument);

// Internal commands that work on files.
void copyCommand(Interpreter &shell, const QStringList &arguments);
void deleteCommand(Interpreter &shell, const QStringList &arguments);
void typeCommand(Interpreter &shell, const QStringList &arguments);

// External programs, run when their stand-in file is found through the search path.
void attribProgram(Interpreter &shell, const QStringList &arguments);
void scanDiskProgram(Interpreter &shell, const QStringList &arguments);

using Program = void (*)(Interpreter &shell, const QStringList &arguments);
// The program a stand-in name (platform::standInName) stands for; null when this PC cannot run it.
Program programFor(const QString &standInName);

}  // namespace dos
