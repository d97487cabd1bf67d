#include "dos/DosScreen.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>
#include <QKeyEvent>
#include <QPainter>

namespace dos {

namespace {

const QColor Foreground(0xAA, 0xAA, 0xAA);
const QColor Background(Qt::black);
constexpr int FontPixels = 16;
constexpr int BlinkMilliseconds = 267;
constexpr int CursorHeight = 2;

QFont vgaFont()
{
    const QString family = QFontDatabase::families().contains(QStringLiteral("Unifont"))
                               ? QStringLiteral("Unifont")
                               : QStringLiteral("DejaVu Sans Mono");
    QFont font(family);
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(FontPixels);
    return font;
}

}  // namespace

DosScreen::DosScreen(const TextScreen &screen, QWidget *parent)
    : QWidget(parent),
      m_screen(screen),
      m_font(vgaFont())
{
    const QFontMetrics metrics(m_font);
    m_cell = QSize(metrics.horizontalAdvance(u'M'), metrics.height());
    m_ascent = metrics.ascent();
    setMinimumSize(sizeHint());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    connect(&m_blink, &QTimer::timeout, this, [this] {
        m_cursorShown = !m_cursorShown;
        update();
    });
    m_blink.start(BlinkMilliseconds);
}

QSize DosScreen::sizeHint() const
{
    return {m_cell.width() * TextScreen::Columns, m_cell.height() * TextScreen::Rows};
}

QList<Key> &DosScreen::typedKeys()
{
    QCoreApplication::processEvents();
    return m_keys;
}

void DosScreen::wait(int milliseconds)
{
    if (m_closed)
        return;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    m_closing = &loop;
    loop.exec();
    m_closing = nullptr;
}

std::optional<Key> DosScreen::waitForKey()
{
    // A key press that means nothing to MS-DOS (Shift alone) wakes the wait without a key.
    while (m_keys.isEmpty() && !m_closed) {
        QEventLoop loop;
        m_waiting = &loop;
        loop.exec();
        m_waiting = nullptr;
    }
    if (m_keys.isEmpty())
        return std::nullopt;
    return m_keys.takeFirst();
}

void DosScreen::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Background);
    painter.setFont(m_font);
    painter.setPen(Foreground);
    // A larger window (full screen) shows the 80x25 screen in its middle.
    const QSize text = sizeHint();
    const QPoint origin((width() - text.width()) / 2, (height() - text.height()) / 2);
    for (int row = 0; row < TextScreen::Rows; ++row) {
        const int y = origin.y() + row * m_cell.height();
        const bool inverted = row == m_screen.highlightedRow();
        if (inverted) {
            // A menu's chosen entry: its text dark on light, as far as it goes.
            const QString rowText = m_screen.line(row);
            const int first = int(rowText.size() - QStringView(rowText).trimmed().size());
            painter.fillRect(origin.x() + first * m_cell.width(), y,
                             int(rowText.size() - first) * m_cell.width(), m_cell.height(), Foreground);
            painter.setPen(Background);
        }
        for (int column = 0; column < TextScreen::Columns; ++column) {
            const QChar c = m_screen.at(row, column);
            if (c != u' ')
                painter.drawText(origin.x() + column * m_cell.width(), y + m_ascent, QString(c));
        }
        if (inverted)
            painter.setPen(Foreground);
    }
    if (m_cursorShown && m_screen.cursorColumn() < TextScreen::Columns) {
        const QRect cursor(origin.x() + m_screen.cursorColumn() * m_cell.width(),
                           origin.y() + (m_screen.cursorRow() + 1) * m_cell.height() - CursorHeight,
                           m_cell.width(), CursorHeight);
        painter.fillRect(cursor, Foreground);
    }
}

void DosScreen::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool control = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    static const QHash<int, Key::Kind> Named = {
        {Qt::Key_Return, Key::Enter},  {Qt::Key_Enter, Key::Enter}, {Qt::Key_Backspace, Key::Backspace},
        {Qt::Key_Escape, Key::Escape}, {Qt::Key_F3, Key::F3},       {Qt::Key_F8, Key::F8},
        {Qt::Key_Up, Key::Up},         {Qt::Key_Down, Key::Down},
    };
    if (control && alt && (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace))
        m_keys.append(Key{Key::CtrlAltDel, {}});
    else if (control && event->key() == Qt::Key_C)
        m_keys.append(Key{Key::CtrlC, {}});
    else if (Named.contains(event->key()))
        m_keys.append(Key{Named.value(event->key()), {}});
    else if (!event->text().isEmpty() && event->text().at(0).isPrint())
        m_keys.append(Key{Key::Character, event->text().at(0)});
    // Every other key stays on the DOS screen too: it means nothing to MS-DOS.
    event->accept();
    wake();
}

// The full screen of MS-DOS mode is the whole PC; a DOS window leaves the others their keys.
void DosScreen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (windowState() & Qt::WindowFullScreen)
        grabKeyboard();
}

void DosScreen::hideEvent(QHideEvent *event)
{
    releaseKeyboard();
    QWidget::hideEvent(event);
}

bool DosScreen::focusNextPrevChild(bool)
{
    return false;
}

void DosScreen::closeEvent(QCloseEvent *event)
{
    m_closed = true;
    event->accept();
    wake();
}

void DosScreen::wake()
{
    if (m_waiting)
        m_waiting->quit();
    if (m_closing && m_closed)
        m_closing->quit();
}

WindowConsole::WindowConsole(const QString &title, bool fullScreen)
    : m_window(screen())
{
    m_window.setWindowTitle(title);
    screen().setChangeListener([this] { m_window.update(); });
    if (fullScreen)
        m_window.showFullScreen();
    else
        m_window.show();
    m_window.activateWindow();
    m_window.setFocus();
}

void WindowConsole::lineDone()
{
    QCoreApplication::processEvents();
}

void WindowConsole::waitForClose(const QString &title)
{
    m_window.setWindowTitle(title);
    m_window.waitForKey();
}

void WindowConsole::linger(int milliseconds)
{
    m_window.wait(milliseconds);
}

bool WindowConsole::takeTypedAhead(Key::Kind kind)
{
    QList<Key> &keys = m_window.typedKeys();
    if (keys.isEmpty() || keys.first().kind != kind)
        return false;
    keys.removeFirst();
    return true;
}

bool WindowConsole::keyWithin(Key::Kind kind, int milliseconds)
{
    m_window.wait(milliseconds);
    QList<Key> &keys = m_window.typedKeys();
    for (qsizetype index = keys.size() - 1; index >= 0; --index) {
        if (keys.at(index).kind == kind) {
            keys.remove(0, index + 1);
            return true;
        }
    }
    return false;
}

void WindowConsole::waitForSwitchOff()
{
    for (;;) {
        const auto key = m_window.waitForKey();
        if (!key || key->kind == Key::CtrlAltDel)
            return;
    }
}

}  // namespace dos
