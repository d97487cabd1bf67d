#pragma once

#include <QString>
#include <QStringList>

// Runs velko-dos (platform::dosProgram) headless on the PC in machineFolder with the keys typed in
// advance and the action's arguments, and returns what it wrote to standard output. A run that
// does not end well is reported as a warning; the caller checks the outcome.
QString runDosHeadless(const QString &machineFolder, const QString &keys, const QStringList &action);
