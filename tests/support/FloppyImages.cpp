#include "tests/support/FloppyImages.h"

#include "tests/support/TestMachine.h"

#include <QFile>
#include <QProcess>

bool runsOnHost(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
           && process.exitCode() == 0;
}

const QString TwoFloppiesIni = QStringLiteral("[Windows]\n"
                                              "Directory=C:\\WINDOWS\n"
                                              "[Drives]\n"
                                              "A=floppy,floppy-a.img\n"
                                              "B=floppy,floppy-b.img,readonly\n"
                                              "C=fixed,drive_c\n"
                                              "D=fixed,drive_d\n");

QString floppyImage(const TestMachine &pc, QChar letter)
{
    return pc.folder() + QStringLiteral("/floppy-%1.img").arg(letter.toLower());
}

void insertFormattedDisk(const TestMachine &pc, QChar letter, const QString &label, bool oldFile)
{
    const QString image = floppyImage(pc, letter);
    QFile::remove(image);
    QStringList format{QStringLiteral("-C"), QStringLiteral("-f"), QStringLiteral("1440"),
                       QStringLiteral("-i"), image};
    if (!label.isEmpty())
        format << QStringLiteral("-v") << label;
    if (!runsOnHost(QStringLiteral("mformat"), format << QStringLiteral("::")))
        qFatal("mformat failed on %s", qPrintable(image));
    if (!oldFile)
        return;
    const QString old = pc.folder() + QStringLiteral("/alt.txt");
    QFile file(old);
    if (!file.open(QIODevice::WriteOnly) || file.write("alte Datei\r\n") != 12)
        qFatal("cannot write %s", qPrintable(old));
    file.close();
    if (!runsOnHost(QStringLiteral("mcopy"),
                    {QStringLiteral("-o"), QStringLiteral("-i"), image, old, QStringLiteral("::/ALT.TXT")}))
        qFatal("mcopy failed on %s", qPrintable(image));
}

bool fileSystemIsSound(const QString &image)
{
    return runsOnHost(QStringLiteral("fsck.fat"), {QStringLiteral("-n"), image});
}
