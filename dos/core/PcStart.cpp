#include "dos/core/PcStart.h"

#include "dos/core/Messages.h"
#include "platform/drives/Files.h"
#include "platform/shell/ProgramStart.h"
#include "platform/text/OemText.h"
#include "platform/text/ProfileDocument.h"

namespace dos {

namespace {

const QString IoSys = QStringLiteral("C:\\IO.SYS");
const QString MsDosSys = QStringLiteral("C:\\MSDOS.SYS");
const QString ConfigSys = QStringLiteral("C:\\CONFIG.SYS");
const QString CommandCom = QStringLiteral("C:\\COMMAND.COM");
const QString AutoexecBat = QStringLiteral("C:\\AUTOEXEC.BAT");
const QString BootLog = QStringLiteral("C:\\BOOTLOG.TXT");
// While "Windows 98 wird gestartet..." shows, F8 opens the start menu.
constexpr int F8Milliseconds = 2000;
constexpr int MenuIndent = 5;
constexpr int MenuChoiceRow = 2;  // below the last entry

bool isSystemFile(const QString &path)
{
    const auto attributes = platform::fileAttributes(path);
    return attributes.ok() && (attributes.value & platform::attr::System)
           && !(attributes.value & platform::attr::Directory);
}

// A registry file of Windows 9x starts with "CREG"; the demo PC's stand-in names itself.
bool isSoundRegistry(const QByteArray &bytes, const QString &name)
{
    return bytes.startsWith("CREG") || platform::standInName(bytes) == name;
}

bool hasBootSection(const QByteArray &bytes)
{
    const QStringList lines = platform::fromOem(bytes).split(u'\n');
    return std::any_of(lines.begin(), lines.end(), [](const QString &line) {
        return line.trimmed().compare(u"[boot]", Qt::CaseInsensitive) == 0;
    });
}

QString inFolder(const QString &folder, const QString &name)
{
    if (folder.endsWith(u'\\'))
        return folder + name;
    return folder + u'\\' + name;
}

}  // namespace

QStringList windowsDamage(const QString &windowsDirectory)
{
    if (!platform::directoryExists(windowsDirectory))
        return {message::DamageNoWindowsDirectory.arg(windowsDirectory)};
    QStringList damage;
    for (const QString &name : {QStringLiteral("SYSTEM.DAT"), QStringLiteral("USER.DAT")}) {
        const QString path = inFolder(windowsDirectory, name);
        const auto bytes = platform::readFile(path);
        if (!platform::fileExists(path))
            damage.append(message::DamageMissing.arg(path));
        else if (!bytes.ok() || !isSoundRegistry(bytes.value, name))
            damage.append(message::DamageRegistry.arg(path));
    }
    const QString systemIni = inFolder(windowsDirectory, QStringLiteral("SYSTEM.INI"));
    const auto system = platform::readFile(systemIni);
    if (!platform::fileExists(systemIni))
        damage.append(message::DamageMissing.arg(systemIni));
    else if (!system.ok())
        damage.append(message::DamageUnreadable.arg(systemIni));
    else if (!hasBootSection(system.value))
        damage.append(message::DamageNoBoot.arg(systemIni));
    const QString winIni = inFolder(windowsDirectory, QStringLiteral("WIN.INI"));
    if (!platform::fileExists(winIni))
        damage.append(message::DamageMissing.arg(winIni));
    else if (!platform::readFile(winIni).ok())
        damage.append(message::DamageUnreadable.arg(winIni));
    return damage;
}

PcStart::PcStart(Interpreter &shell, Console &console)
    : m_shell(shell),
      m_console(console),
      m_windowsDirectory(platform::windowsDirectory())
{}

PcEnd PcStart::switchOn()
{
    m_shell.setInteractive();
    // The boot sector loads IO.SYS; without it the PC gets no further, however often it tries.
    while (!isSystemFile(IoSys)) {
        m_shell.printLine(message::BootNoSystem);
        m_shell.printLine(message::BootChangeDiskPressKey);
        if (!m_shell.readKey())
            return m_shell.switchedOff() ? PcEnd::SwitchedOff : PcEnd::Stopped;
    }
    m_shell.printLine(message::WindowsLoading);
    if (!m_console.keyWithin(Key::F8, F8Milliseconds))
        return start(StartChoice::Normal);
    const auto choice = startMenu(StartChoice::Normal, {});
    return choice ? start(*choice) : endAtKey();
}

PcEnd PcStart::prompt()
{
    m_shell.setInteractive();
    const Next next = promptRound();
    if (const PcEnd *end = std::get_if<PcEnd>(&next))
        return *end;
    return start(std::get<StartChoice>(next));
}

PcEnd PcStart::start(StartChoice choice)
{
    for (;;) {
        const Next next = startRound(choice);
        if (const PcEnd *end = std::get_if<PcEnd>(&next))
            return *end;
        choice = std::get<StartChoice>(next);
    }
}

// One start from IO.SYS on: what the choice runs, then Windows or the prompt.
PcStart::Next PcStart::startRound(StartChoice choice)
{
    m_console.screen().clear();
    const bool safe = choice == StartChoice::Safe || choice == StartChoice::SafePromptOnly;
    readMsDosSys();
    if (!safe)
        showConfigSys(choice == StartChoice::StepByStep);
    if (!platform::fileExists(CommandCom)) {
        m_shell.printLine(message::BootNoInterpreter);
        m_shell.printLine(message::BootHalted);
        return PcEnd::Stopped;
    }
    if (!safe && platform::fileExists(AutoexecBat)
        && (choice != StartChoice::StepByStep || confirm(message::ConfirmAutoexec))) {
        switch (m_shell.runBatch(AutoexecBat)) {
        case Interpreter::Outcome::SwitchedOff:
            return PcEnd::SwitchedOff;
        case Interpreter::Outcome::InputEnded:
            return PcEnd::KeysEnded;
        case Interpreter::Outcome::WindowsRequested:
            return startWindows(false);
        default:
            break;
        }
    }
    switch (choice) {
    case StartChoice::PromptOnly:
    case StartChoice::SafePromptOnly:
        return promptRound();
    case StartChoice::StepByStep:
        if (!confirm(message::ConfirmWindows))
            return m_shell.switchedOff() ? Next(PcEnd::SwitchedOff) : promptRound();
        return startWindows(false);
    case StartChoice::Safe:
        m_safeMode = true;
        return startWindows(false);
    case StartChoice::Logged:
        return startWindows(true);
    case StartChoice::Normal:
        break;
    }
    return startWindows(false);
}

PcStart::Next PcStart::promptRound()
{
    switch (m_shell.runPrompt()) {
    case Interpreter::Outcome::Exited:
        return PcEnd::Exited;
    case Interpreter::Outcome::SwitchedOff:
        return PcEnd::SwitchedOff;
    case Interpreter::Outcome::WindowsRequested:
        return startWindows(false);
    default:
        return PcEnd::KeysEnded;
    }
}

// Windows starts when its files are sound; otherwise the screen names the damage and the start
// menu follows at once, as after a failed start.
PcStart::Next PcStart::startWindows(bool logged)
{
    const QStringList damage = windowsDamage(m_windowsDirectory);
    if (logged) {
        QStringList log{message::WindowsLoading};
        log += damage.isEmpty() ? QStringList{message::WindowsStarts}
                                : QStringList{message::WindowsCannotStart} + damage;
        const auto bytes = platform::toOem(log.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
        const int error = bytes ? platform::writeFile(BootLog, *bytes) : platform::dos::GeneralFailure;
        if (error != platform::dos::Ok)
            m_shell.printLine(message::forError(error) + QStringLiteral(" - ") + BootLog);
    }
    if (damage.isEmpty()) {
        m_shell.printLine();
        m_shell.printLine(m_safeMode ? message::WindowsStartsSafe : message::WindowsStarts);
        return PcEnd::WindowsStarted;
    }
    m_safeMode = false;
    const auto choice = startMenu(StartChoice::Safe, QStringList{message::WindowsCannotStart} + damage);
    if (!choice)
        return endAtKey();
    return *choice;
}

// The menu: a number or the arrow keys choose, Enter starts. `above` stays above it.
std::optional<StartChoice> PcStart::startMenu(StartChoice selected, const QStringList &above)
{
    TextScreen &screen = m_console.screen();
    screen.clear();
    for (const QString &line : above)
        m_shell.printLine(line);
    if (!above.isEmpty())
        m_shell.printLine();
    const QString indent(MenuIndent, u' ');
    m_shell.printLine(indent + message::StartMenuTitle);
    m_shell.printLine(indent + QString(message::StartMenuTitle.size(), u'═'));
    m_shell.printLine();
    const int firstRow = screen.cursorRow();
    const qsizetype count = message::StartMenuEntries.size();
    for (qsizetype index = 0; index < count; ++index)
        m_shell.printLine(indent + QStringLiteral("%1. ").arg(index + 1)
                          + message::StartMenuEntries.at(index));
    m_shell.printLine();
    const int choiceRow = firstRow + int(count) + MenuChoiceRow - 1;
    m_shell.print(indent + message::StartMenuChoice);
    const int choiceColumn = screen.cursorColumn();
    m_shell.printLine();
    m_shell.printLine();
    m_shell.printLine(indent + message::StartMenuKeys);

    int current = int(selected);
    for (;;) {
        screen.setHighlightedRow(firstRow + current - 1);
        screen.moveCursor(choiceRow, choiceColumn);
        m_shell.print(QString::number(current));
        screen.moveCursor(choiceRow, choiceColumn);
        const auto key = m_shell.readKey();
        if (!key) {
            screen.setHighlightedRow(-1);
            return std::nullopt;
        }
        if (key->kind == Key::Up)
            current = current == 1 ? int(count) : current - 1;
        else if (key->kind == Key::Down)
            current = current == int(count) ? 1 : current + 1;
        else if (key->kind == Key::Character && key->character >= u'1'
                 && key->character.unicode() < u'1' + count)
            current = key->character.unicode() - u'0';
        else if (key->kind == Key::Enter)
            break;
    }
    screen.setHighlightedRow(-1);
    screen.clear();
    return StartChoice(current);
}

// Einzelbestätigung: J or Enter yes, N no.
bool PcStart::confirm(const QString &question)
{
    m_shell.print(question);
    for (;;) {
        const auto key = m_shell.readKey();
        if (!key) {
            m_shell.printLine();
            return false;
        }
        const QChar answer = key->character.toUpper();
        if (key->kind == Key::Enter || answer == u'J') {
            m_shell.printLine(QStringLiteral("J"));
            return true;
        }
        if (answer == u'N') {
            m_shell.printLine(QStringLiteral("N"));
            return false;
        }
    }
}

// IO.SYS takes the Windows directory from MSDOS.SYS; without one Windows stays where it is.
void PcStart::readMsDosSys()
{
    const auto bytes = platform::readFile(MsDosSys);
    if (!bytes.ok())
        return;
    const auto document = platform::ProfileDocument::parse(platform::fromOem(bytes.value));
    const QString windows = document.value(QStringLiteral("Paths"), QStringLiteral("WinDir"), {}).trimmed();
    if (!windows.isEmpty())
        m_windowsDirectory = windows;
}

// CONFIG.SYS is shown as IO.SYS reads it; its drivers are no part of this PC.
void PcStart::showConfigSys(bool stepByStep)
{
    const auto bytes = platform::readFile(ConfigSys);
    if (!bytes.ok())
        return;
    for (QString line : platform::fromOem(bytes.value).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';')
            || line.startsWith(QStringLiteral("REM"), Qt::CaseInsensitive))
            continue;
        if (stepByStep)
            confirm(message::ConfirmLine.arg(line));
        else
            m_shell.printLine(line);
        if (m_shell.switchedOff())
            return;
    }
}

PcEnd PcStart::endAtKey() const
{
    return m_shell.switchedOff() ? PcEnd::SwitchedOff : PcEnd::KeysEnded;
}

}  // namespace dos
