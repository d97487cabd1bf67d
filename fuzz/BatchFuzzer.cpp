// A batch file from anywhere, run by the MS-DOS side on a scratch PC: no crash, no hang (a step
// limit stands for the user's Ctrl+C or closing the screen), and nothing written outside the PC's
// folder.
#include "dos/core/Console.h"
#include "dos/core/Interpreter.h"
#include "fuzz/FuzzSupport.h"
#include "platform/drives/Pc.h"
#include "platform/machine/Machine.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

// Lines a script may run before the user presses Ctrl+C and answers J, or closes the screen.
constexpr int StepLimit = 300;

class LimitedConsole : public dos::Console {
public:
    std::optional<dos::Key> readKey() override
    {
        if (m_steps < StepLimit)
            return std::nullopt;  // nobody at the keyboard: a waiting command ends the run
        return dos::Key{dos::Key::Character, u'J'};
    }
    bool takeTypedAhead(dos::Key::Kind kind) override { return kind == dos::Key::CtrlC && m_steps >= StepLimit; }
    bool keyWithin(dos::Key::Kind, int) override { return false; }
    void lineDone() override { ++m_steps; }
    bool isClosed() const override { return m_steps >= StepLimit + 100; }

private:
    int m_steps = 0;
};

// The scratch PC, in a folder beside another that must stay untouched.
struct Scratch {
    QTemporaryDir parent;
    QString machine;
    QString outside;
    QString outsideBefore;
};

// Everything in the parent folder but the PC itself, with sizes and times.
QString outsideListing(const Scratch &place)
{
    QStringList entries;
    QDirIterator it(place.parent.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (it.filePath() == place.machine || it.filePath().startsWith(place.machine + u'/'))
            continue;
        entries.append(it.filePath() + u' ' + QString::number(it.fileInfo().size()) + u' '
                       + it.fileInfo().lastModified().toString(Qt::ISODateWithMs));
    }
    entries.sort();
    return entries.join(u'\n');
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fuzz::finding("the scratch PC cannot be laid out");
}

Scratch &scratch()
{
    static Scratch place = [] {
        Scratch made;
        made.machine = made.parent.filePath(QStringLiteral("pc"));
        made.outside = made.parent.filePath(QStringLiteral("daneben"));
        QDir().mkpath(made.outside + QStringLiteral("/Ordner"));
        write(made.outside + QStringLiteral("/Ordner/Wichtig.txt"), "nicht anfassen");
        made.outsideBefore = outsideListing(made);
        return made;
    }();
    return place;
}

// A fresh PC for every input, so that one input's files do not change the next one's run.
std::unique_ptr<platform::Pc> freshPc(const Scratch &place)
{
    QDir(place.machine).removeRecursively();
    QDir().mkpath(place.machine + QStringLiteral("/drive_c/WINDOWS/COMMAND"));
    QDir().mkpath(place.machine + QStringLiteral("/drive_c/Programme/Velko Save"));
    QDir().mkpath(place.machine + QStringLiteral("/drive_d"));
    write(place.machine + QStringLiteral("/machine.ini"),
          "[Windows]\r\nDirectory=C:\\WINDOWS\r\n[Drives]\r\nC=fixed,drive_c\r\nD=fixed,drive_d\r\n");
    write(place.machine + QStringLiteral("/drive_c/AUTOEXEC.BAT"), "@echo off\r\n");
    write(place.machine + QStringLiteral("/drive_c/WINDOWS/WIN.INI"), "[windows]\r\n");
    write(place.machine + QStringLiteral("/drive_c/Programme/Velko Save/Größe.txt"), "x");
    QString error;
    auto machine = platform::Machine::load(place.machine, &error);
    if (!machine)
        fuzz::finding("the scratch PC does not load");
    auto pc = std::make_unique<platform::Pc>(std::move(machine));
    pc->makeCurrent();
    return pc;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first byte says whether a person sits at the keyboard (quoted long names, Ctrl+C).
    if (size == 0)
        return 0;
    Scratch &place = scratch();
    const auto pc = freshPc(place);
    write(place.machine + QStringLiteral("/drive_c/FUZZ.BAT"),
          QByteArray(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1));

    LimitedConsole console;
    dos::Interpreter shell(console);
    if (data[0] & 1)
        shell.setInteractive();
    if (shell.startIn(QStringLiteral("C:\\")) != 0)
        fuzz::finding("the scratch PC has no C:");
    (void)shell.runBatch(QStringLiteral("C:\\FUZZ.BAT"));

    if (outsideListing(place) != place.outsideBefore)
        fuzz::finding("a batch file changed something outside the simulated PC");
    return 0;
}
