#pragma once

#include "dos/core/Console.h"

#include <QFont>
#include <QList>
#include <QTimer>
#include <QWidget>

#include <optional>

class QEventLoop;

namespace dos {

// The window that shows a TextScreen: light grey on black in a VGA-like font, with a blinking
// cursor, and takes the keys for pause and the prompts. Shown full screen it holds the keyboard:
// no key typed on the DOS screen reaches another window.
class DosScreen : public QWidget {
    Q_OBJECT
public:
    explicit DosScreen(const TextScreen &screen, QWidget *parent = nullptr);

    // Waits for the next key while the window stays responsive; empty once it is closed.
    std::optional<Key> waitForKey();
    // The keys typed so far and not yet taken, after the events waiting have been handled.
    QList<Key> &typedKeys();
    // Keeps the window responsive for `milliseconds` (less once it is closed).
    void wait(int milliseconds);
    bool isClosed() const { return m_closed; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // Tab is a key of the PC, not a way to another widget.
    bool focusNextPrevChild(bool next) override;

private:
    void wake();

    const TextScreen &m_screen;
    QFont m_font;
    QSize m_cell;
    int m_ascent = 0;
    bool m_cursorShown = true;
    QTimer m_blink;
    QList<Key> m_keys;
    bool m_closed = false;
    QEventLoop *m_waiting = nullptr;
    QEventLoop *m_closing = nullptr;  // wait() ends early when the window closes
};

// A console on the screen: the interpreter's output appears in a DosScreen as it is written.
class WindowConsole : public Console {
public:
    WindowConsole(const QString &title, bool fullScreen);
    std::optional<Key> readKey() override { return m_window.waitForKey(); }
    bool takeTypedAhead(Key::Kind kind) override;
    bool keyWithin(Key::Kind kind, int milliseconds) override;
    void lineDone() override;
    bool isClosed() const override { return m_window.isClosed(); }
    // After the script: the window shows the last screen until it is closed or a key is pressed.
    void waitForClose(const QString &title);
    // After the script in MS-DOS mode: the last screen stays a moment before Windows returns.
    void linger(int milliseconds);
    // A PC that stopped: the screen stays, keys change nothing, until the window is closed or
    // Ctrl+Alt+Del switches the PC off.
    void waitForSwitchOff();

private:
    DosScreen m_window;
};

}  // namespace dos
