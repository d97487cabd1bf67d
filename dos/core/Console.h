#pragma once

#include "dos/core/TextScreen.h"

#include <QChar>
#include <QList>
#include <QString>

#include <optional>

namespace dos {

// One key press as the interpreter sees it.
struct Key {
    enum Kind { Character, Enter, CtrlC, Backspace, Escape, F3, F8, Up, Down, CtrlAltDel };
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
    // Whether the key typed ahead is `kind`, which is then taken; other keys stay where they are.
    virtual bool takeTypedAhead(Key::Kind kind) = 0;
    // Gives the user `milliseconds` to press a key of `kind` (a window waits; keys given in
    // advance answer at once); true when one came, which is then taken with the keys before it.
    virtual bool keyWithin(Key::Kind kind, int milliseconds) = 0;
    // Between two lines of a script: a window shows what was written.
    virtual void lineDone() {}
    // The user closed the screen: a script that reads no key (one that starts itself) ends too.
    virtual bool isClosed() const { return false; }

private:
    TextScreen m_screen;
};

// Keys given in advance: each character one key press; a line feed or the two characters "\n"
// are Enter, "^C" is Ctrl+C; keys that are no characters go by name in braces: {F3}, {F8}, {Up},
// {Down}, {Esc}, {Backspace}, {Enter}, {Ctrl+C}, {Ctrl+Alt+Del}. A brace that starts no such name
// is a character.
QList<Key> parseKeys(const QString &keys);
// The keys a program reads from a file its input is redirected from: each line end (CR LF, CR or
// LF) is one Enter.
QList<Key> keysOfText(const QString &text);

class HeadlessConsole : public Console {
public:
    explicit HeadlessConsole(const QString &keys);
    std::optional<Key> readKey() override;
    bool takeTypedAhead(Key::Kind kind) override;
    bool keyWithin(Key::Kind kind, int milliseconds) override;

private:
    QList<Key> m_keys;
};

}  // namespace dos
