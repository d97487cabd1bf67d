#include "tests/platform/RandomFatVolume.h"

#include "platform/host/detail/Mtools.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSet>

namespace {

// The program's own mtools environment; mtools stamps a copy with the host file's time as local
// time, and UTC keeps it as it was set.
QProcessEnvironment mtoolsEnvironment()
{
    QProcessEnvironment environment = platform::detail::mtoolsEnvironment();
    environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    return environment;
}

// Characters long names are made of: code page 850 letters with and without case, and the
// punctuation a long name may hold. No '~', so that no name looks like a numbered 8.3 alias.
const QString LongNameCharacters =
    QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
                   "äöüÄÖÜßéÉèÈàÀçÇñÑåÅæÆøØ£§ -_!#$%&'()@^`{}+,;=[].");
const QString ShortNameCharacters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ÄÖÜÉÑ_-!#$%&'()@^{}");

class VolumeMaker {
public:
    VolumeMaker(quint32 seed, const QString &image, const QString &scratch)
        : m_random(seed), m_image(image), m_source(scratch + QStringLiteral("/source"))
    {}

    RandomFatVolume make()
    {
        format();
        const int steps = 10 + m_random.bounded(50);
        for (int step = 0; step < steps; ++step) {
            const quint32 choice = m_random.bounded(100);
            if (choice < 20)
                makeFolder(randomFolder());
            else if (choice < 28)
                makeFolderChain();
            else if (choice < 63)
                copyFile(randomFolder(), randomSize());
            else if (choice < 78)
                changeAttributes();
            else if (choice < 92)
                deleteFile();
            else
                fill();
        }
        return m_volume;
    }

private:
    void format()
    {
        QStringList arguments{QStringLiteral("-C")};
        switch (m_random.bounded(6)) {
        case 0:
        case 1:
            arguments << QStringLiteral("-f") << QStringLiteral("1440");
            m_volume.isFloppy = true;
            break;
        case 2: {
            static const QStringList Sizes{QStringLiteral("160"), QStringLiteral("360"), QStringLiteral("720"),
                                           QStringLiteral("1200"), QStringLiteral("2880")};
            arguments << QStringLiteral("-f") << Sizes[below(Sizes.size())];
            m_volume.isFloppy = true;
            break;
        }
        default: {
            // 4 to 16 MiB with clusters of one to four sectors: FAT16 as mformat chooses it.
            static const QList<QPair<int, int>> Shapes{{8192, 1}, {16384, 1}, {16384, 2}, {32768, 1},
                                                       {32768, 2}, {32768, 4}};
            const auto shape = Shapes[below(Shapes.size())];
            arguments << QStringLiteral("-T") << QString::number(shape.first) << QStringLiteral("-h")
                      << QStringLiteral("2") << QStringLiteral("-s") << QStringLiteral("32")
                      << QStringLiteral("-c") << QString::number(shape.second);
            m_volumeBytes = qint64(shape.first) * 512;
            break;
        }
        }
        if (m_random.bounded(4) == 0)  // a root of 16 or 32 entries, soon full
            arguments << QStringLiteral("-r") << QString::number(1 + m_random.bounded(2));
        if (m_random.bounded(2))
            arguments << QStringLiteral("-v") << randomLabel();
        const MtoolsRun run = runMtools(QStringLiteral("mformat"), m_image, arguments << QStringLiteral("::"));
        if (run.exitCode != 0)
            qFatal("mformat %s failed: %s", qPrintable(arguments.join(u' ')), qPrintable(run.errors));
        QFile image(m_image);
        if (!image.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(m_image));
        if (m_volume.isFloppy)
            m_volumeBytes = image.size();
        image.seek(54);
        m_volume.description = QString::fromLatin1(image.read(8)).trimmed() + u' ' + arguments.join(u' ');
    }

    QString randomLabel()
    {
        static const QString Characters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ÄÖÜ -_");
        QString label;
        const int length = 1 + m_random.bounded(11);
        for (int i = 0; i < length; ++i)
            label += Characters[below(Characters.size())];
        return label.trimmed().isEmpty() ? QStringLiteral("X") : label.trimmed();
    }

    // An 8.3 name in upper case, in lower case, mixed, or a long name of up to 255 characters.
    QString randomName()
    {
        const auto pick = [this](const QString &from, int length) {
            QString text;
            for (int i = 0; i < length; ++i)
                text += from[below(from.size())];
            return text;
        };
        QString name;
        const quint32 kind = m_random.bounded(10);
        if (kind < 5) {
            name = pick(ShortNameCharacters, 1 + m_random.bounded(8));
            if (m_random.bounded(3))
                name += u'.' + pick(ShortNameCharacters, 1 + m_random.bounded(3));
            if (kind == 1)
                name = name.toLower();
            else if (kind == 2)
                name = name.left(1) + name.mid(1).toLower();
        } else {
            const int length = kind == 9 ? 60 + m_random.bounded(196) : 1 + m_random.bounded(30);
            name = pick(LongNameCharacters, length);
            if (kind == 8)
                name.prepend(u'.');
        }
        // Windows and mtools drop leading blanks and trailing blanks and dots.
        while (!name.isEmpty() && (name.endsWith(u' ') || name.endsWith(u'.')))
            name.chop(1);
        while (name.startsWith(u' '))
            name.remove(0, 1);
        if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral(".."))
            return QStringLiteral("LEER");
        return name;
    }

    QString randomFolder()
    {
        // The newest folders more often, so that the tree also grows deep.
        if (m_folders.size() > 1 && m_random.bounded(3) == 0)
            return m_folders.last();
        return m_folders[below(m_folders.size())];
    }

    static QString pathIn(const QString &folder, const QString &name)
    {
        return folder.isEmpty() ? name : folder + u'/' + name;
    }

    // A new name in `folder`, or empty when the one drawn is taken there (case ignored). mtools
    // reads '[' and ']' in a path as a pattern, so a folder that later lies on a path has none.
    QString newNameIn(const QString &folder, bool forFolder)
    {
        QString name = randomName();
        if (forFolder)
            name.replace(u'[', u'(').replace(u']', u')');
        QSet<QString> &taken = m_taken[folder];
        if (taken.contains(name.toUpper()))
            return {};
        taken.insert(name.toUpper());
        return pathIn(folder, name);
    }

    bool makeFolder(const QString &parent)
    {
        const QString path = newNameIn(parent, true);
        if (path.isEmpty())
            return false;
        if (runMtools(QStringLiteral("mmd"), m_image, {QStringLiteral("-D"), QStringLiteral("s"), u"::/" + path}).exitCode
            != 0)
            return false;
        m_folders.append(path);
        return true;
    }

    void makeFolderChain()
    {
        const int levels = 5 + m_random.bounded(20);
        for (int level = 0; level < levels && makeFolder(m_folders.last()); ++level) {
        }
    }

    qint64 randomSize()
    {
        const quint32 kind = m_random.bounded(10);
        if (kind == 0)
            return 0;
        if (kind < 3)
            return 1 + m_random.bounded(100);
        if (kind < 5)  // around a cluster's end
            return 512 * qint64(1 + m_random.bounded(8)) + qint64(m_random.bounded(3)) - 1;
        if (kind < 9)
            return 100 + m_random.bounded(70000);
        return 70000 + m_random.bounded(400000);
    }

    QDateTime randomTime()
    {
        const QDate day = QDate(1980, 1, 1).addDays(m_random.bounded(QDate(1980, 1, 1).daysTo(QDate(2107, 12, 31)) + 1));
        const QTime clock(m_random.bounded(24), m_random.bounded(60), 2 * m_random.bounded(30));
        return QDateTime(day, clock, Qt::UTC);
    }

    // False when mcopy failed, as it does on a full disk.
    bool copyFile(const QString &folder, qint64 size)
    {
        const QString path = newNameIn(folder, false);
        if (path.isEmpty())
            return true;
        QByteArray bytes(size, Qt::Uninitialized);
        for (qint64 i = 0; i < size; ++i)
            bytes[i] = char(m_random.bounded(256));
        const QDateTime time = randomTime();
        QFile source(m_source);
        if (!source.open(QIODevice::WriteOnly | QIODevice::Truncate) || source.write(bytes) != size
            || !source.flush() || !source.setFileTime(time, QFileDevice::FileModificationTime))
            qFatal("cannot write %s", qPrintable(m_source));
        source.close();
        m_files.append(path);
        const MtoolsRun run = runMtools(QStringLiteral("mcopy"), m_image,
                                        {QStringLiteral("-m"), QStringLiteral("-D"), QStringLiteral("s"), m_source,
                                         u"::/" + path});
        if (run.exitCode != 0)
            return false;
        m_volume.contents.insert(path, bytes);
        m_volume.times.insert(path, time);
        return true;
    }

    // Files of up to a quarter of the volume until one no longer fits.
    void fill()
    {
        for (int copies = 0; copies < 12; ++copies) {
            if (!copyFile(randomFolder(), 1 + m_random.bounded(m_volumeBytes / 4)))
                return;
        }
    }

    void changeAttributes()
    {
        const QStringList &from = m_files.isEmpty() || m_random.bounded(4) == 0 ? m_folders : m_files;
        const QString path = from[below(from.size())];
        if (path.isEmpty())
            return;  // the root
        QStringList arguments;
        for (const QChar flag : {u'r', u'h', u's', u'a'}) {
            const quint32 change = m_random.bounded(3);
            if (change == 1)
                arguments << QStringLiteral("+") + flag;
            else if (change == 2)
                arguments << QStringLiteral("-") + flag;
        }
        if (!arguments.isEmpty())
            runMtools(QStringLiteral("mattrib"), m_image, arguments << u"::/" + path);
    }

    void deleteFile()
    {
        if (m_files.isEmpty())
            return;
        const QString path = m_files.takeAt(below(m_files.size()));
        if (runMtools(QStringLiteral("mdel"), m_image, {u"::/" + path}).exitCode == 0) {
            m_volume.contents.remove(path);
            m_volume.times.remove(path);
            const qsizetype slash = path.lastIndexOf(u'/');
            m_taken[slash < 0 ? QString() : path.left(slash)].remove(path.mid(slash + 1).toUpper());
        } else {
            m_files.append(path);
        }
    }

    // A number below `count`, to pick one of as many things.
    int below(qsizetype count) { return int(m_random.bounded(count)); }

    QRandomGenerator m_random;
    QString m_image;
    QString m_source;
    qint64 m_volumeBytes = 0;
    RandomFatVolume m_volume;
    QStringList m_folders{QString()};  // "" is the root
    QStringList m_files;
    QHash<QString, QSet<QString>> m_taken;  // upper-case names by folder
};

}  // namespace

MtoolsRun runMtools(const QString &command, const QString &image, const QStringList &arguments)
{
    QProcess process;
    process.setProcessEnvironment(mtoolsEnvironment());
    process.start(command, QStringList{QStringLiteral("-i"), image} + arguments);
    process.closeWriteChannel();
    MtoolsRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = QString::fromUtf8(process.readAllStandardOutput());
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

RandomFatVolume makeRandomFatVolume(quint32 seed, const QString &image, const QString &scratch)
{
    return VolumeMaker(seed, image, scratch).make();
}
