#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

class TestMachine;

// A PC with floppy A:, write-protected floppy B: (each with its image file floppy-a.img,
// floppy-b.img once a disk is inserted), fixed drives C: and D:.
extern const QString TwoFloppiesIni;

// The host file of the disk in a floppy drive of the test PC.
QString floppyImage(const TestMachine &pc, QChar letter);

// Inserts a disk formatted by another PC (mformat), with `label` (none when empty) and, when
// `oldFile` is given, a file ALT.TXT on it. Aborts the test run when mtools fails.
void insertFormattedDisk(const TestMachine &pc, QChar letter, const QString &label, bool oldFile);

// Runs a host tool to its end; true when it ends with exit code 0.
bool runsOnHost(const QString &program, const QStringList &arguments);

// fsck.fat -n finds nothing wrong with the image.
bool fileSystemIsSound(const QString &image);
