#include "dos/DosScreen.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFontMetrics>
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

std::optional<Key> DosScreen::waitForKey()
{
    if (m_keys.isEmpty() && !m_closed) {
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
        for (int column = 0; column < TextScreen::Columns; ++column) {
            const QChar c = m_screen.at(row, column);
            if (c != u' ')
                painter.drawText(origin.x() + column * m_cell.width(), y + m_ascent, QString(c));
        }
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
    if (event->key() == Qt::Key_C && (event->modifiers() & Qt::ControlModifier))
        m_keys.append(Key{Key::CtrlC, {}});
    else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        m_keys.append(Key{Key::Enter, {}});
    else if (!event->text().isEmpty() && event->text().at(0).isPrint())
        m_keys.append(Key{Key::Character, event->text().at(0)});
    else
        return QWidget::keyPressEvent(event);
    wake();
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
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace dos
