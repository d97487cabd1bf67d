#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QProcess>
#include <QString>
#include <QStringList>

// Volumes made the way another PC makes them: mformat, then a random sequence of mmd, mcopy,
// mattrib and mdel, all chosen by one seed, so that a volume can be made again from its seed.

// What an mtools command left: its exit code (-1 when it did not end in time) and its output.
struct MtoolsRun {
    int exitCode = -1;
    QString output;
    QString errors;
};

// Runs an mtools command on `image` (given as -i IMAGE before the arguments) with code page 850,
// UTF-8 names and UTC times, and no question to answer.
MtoolsRun runMtools(const QString &command, const QString &image, const QStringList &arguments);

struct RandomFatVolume {
    QString description;  // the format, for a failure's message
    bool isFloppy = false;  // of a floppy format's size; else a volume without partition table
    // Each file mcopy wrote whole, by its path as mdir names it ("Ordner/Größe.txt"), with the
    // bytes and the time stamp it was given (even seconds: what the volume keeps).
    QHash<QString, QByteArray> contents;
    QHash<QString, QDateTime> times;
};

// Makes the volume of `seed` in `image` (a new file), using `scratch` for the files it copies in.
RandomFatVolume makeRandomFatVolume(quint32 seed, const QString &image, const QString &scratch);
