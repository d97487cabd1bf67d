#pragma once

#include "dos/core/TextScreen.h"

#include <QChar>
#include <QList>
#include <QString>

#include <optional>

namespace dos {

// One key press as the interpreter sees it.
struct Key {
    enum Kind { Character, Enter, CtrlC };
    Kind kind = Character;
    QChar character;
    bool operator==(const Key &other) const = default;
};

// The screen and the keyboard of the PC, as the interpreter uses them.
class Console {
public:
    virtual ~Console() = default;
    TextScreen &screen() { return m_screen; }
    // The next key; empty when no key will come any more (keys used up, window closed).
    virtual std::optional<Key> readKey() = 0;
    // Between two lines of a script: a window shows what was written.
    virtual void lineDone() {}

private:
    TextScreen m_screen;
};

// Keys given in advance: each character one key press; a line feed or the two characters "\n"
// are Enter, "^C" is Ctrl+C.
QList<Key> parseKeys(const QString &keys);
// The keys a program reads from a file its input is redirected from: each line end (CR LF, CR or
// LF) is one Enter.
QList<Key> keysOfText(const QString &text);

class HeadlessConsole : public Console {
public:
    explicit HeadlessConsole(const QString &keys);
    std::optional<Key> readKey() override;

private:
    QList<Key> m_keys;
};

}  // namespace dos
