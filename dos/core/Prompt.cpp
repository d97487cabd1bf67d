#include "dos/core/Interpreter.h"

#include "platform/text/OemText.h"

namespace dos {

namespace {

// COMMAND.COM takes at most this many characters on one line.
constexpr qsizetype MaxLineLength = 127;

}  // namespace

Interpreter::Outcome Interpreter::runPrompt()
{
    bool blankLine = true;
    for (;;) {
        m_stop = Stop::None;
        if (blankLine)
            printLine();
        print(prompt());
        const auto line = readCommandLine();
        if (!line)
            return outcome();
        blankLine = !line->trimmed().isEmpty();
        if (!blankLine)
            continue;
        const bool echo = m_echo;
        execute(line->trimmed());
        if (m_stop == Stop::Chained) {
            m_stop = Stop::None;
            runBatchFile(m_chainedBatch);
            m_echo = echo;
        }
        switch (m_stop) {
        case Stop::Exit:
        case Stop::Windows:
        case Stop::SwitchOff:
        case Stop::InputEnded:
            return outcome();
        case Stop::None:
        case Stop::Aborted:
        case Stop::Chained:
            break;
        }
    }
}

// The line as typed at the prompt, with COMMAND.COM's editing keys: Backspace, Esc (the line
// starts again below), F3 (the rest of the last line), Ctrl+C (the line is dropped). Empty when
// no key comes any more or the PC is switched off.
std::optional<QString> Interpreter::readCommandLine()
{
    const int start = m_console.screen().cursorColumn();
    QString line;
    for (;;) {
        const auto key = readKey();
        if (!key) {
            printLine();
            return std::nullopt;
        }
        switch (key->kind) {
        case Key::Enter:
            printLine();
            if (!line.trimmed().isEmpty())
                m_lastLine = line;
            return line;
        case Key::CtrlC:
            printLine(QStringLiteral("^C"));
            return QString();
        case Key::Character:
            // The screen and the PC's names know code page 850 only.
            if (line.size() < MaxLineLength && key->character.isPrint()
                && platform::toOem(QString(key->character))) {
                line += key->character;
                print(key->character);
            }
            break;
        case Key::Backspace:
            if (!line.isEmpty()) {
                line.chop(1);
                print(QStringLiteral("\b \b"));
            }
            break;
        case Key::Escape:
            line.clear();
            printLine(QStringLiteral("\\"));
            print(QString(start, u' '));
            break;
        case Key::F3:
            if (m_lastLine.size() > line.size()) {
                const QString rest = m_lastLine.mid(line.size());
                line += rest;
                print(rest);
            }
            break;
        case Key::F8:
        case Key::Up:
        case Key::Down:
        case Key::CtrlAltDel:
            break;
        }
    }
}

}  // namespace dos
