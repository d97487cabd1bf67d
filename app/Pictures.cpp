#include "app/Pictures.h"

#include "controls/ClassicIcons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

#include <functional>

namespace pictures {

namespace {
#include "app/pictures/Title.xpm"
}  // namespace

QPixmap programIcon()
{
    // A floppy disk with a green arrow: saving system files.
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(0, 0, 128));
    p.drawRect(2, 2, 27, 27);
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(8, 2, 15, 9);
    p.setBrush(Qt::white);
    p.drawRect(6, 16, 19, 13);
    p.setPen(QPen(QColor(0, 128, 0), 3));
    p.drawLine(10, 22, 20, 22);
    p.drawLine(16, 18, 20, 22);
    p.drawLine(16, 26, 20, 22);
    return pixmap;
}

QPixmap titleImage()
{
    return QPixmap(titleXpm);
}

static QIcon drawn(const std::function<void(QPainter &)> &paint)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return QIcon(pixmap);
}

QIcon glyph(Glyph which)
{
    QStyle *style = QApplication::style();
    switch (which) {
    case Glyph::Add:
        return drawn([](QPainter &p) {
            p.setPen(QPen(QColor(0, 128, 0), 3));
            p.drawLine(8, 2, 8, 14);
            p.drawLine(2, 8, 14, 8);
        });
    case Glyph::Remove:
        return drawn([](QPainter &p) {
            p.setPen(QPen(QColor(192, 0, 0), 3));
            p.drawLine(2, 8, 14, 8);
        });
    case Glyph::NewFolder:
        return style->standardIcon(QStyle::SP_FileDialogNewFolder);
    case Glyph::DeleteFolder:
        return controls::classicIcon(QStyle::SP_DialogCancelButton);
    case Glyph::Start:
        return controls::classicIcon(QStyle::SP_DialogOkButton);
    case Glyph::Restore:
        return style->standardIcon(QStyle::SP_BrowserReload);
    case Glyph::EmergencyDisk:
        return style->standardIcon(QStyle::SP_DriveFDIcon);
    case Glyph::Help:
        return controls::classicIcon(QStyle::SP_DialogHelpButton);
    case Glyph::Exit:
        return drawn([](QPainter &p) {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(QColor(128, 64, 0));
            p.drawRect(3, 1, 9, 14);
            p.setBrush(Qt::yellow);
            p.drawEllipse(QPointF(10, 8), 1, 1);
        });
    case Glyph::Mail:
        return drawn([](QPainter &p) {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::white);
            p.drawRect(1, 4, 14, 9);
            p.drawLine(1, 4, 8, 9);
            p.drawLine(15, 4, 8, 9);
        });
    case Glyph::Home:
        return drawn([](QPainter &p) {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(QColor(192, 0, 0));
            QPainterPath roof;
            roof.moveTo(1, 8);
            roof.lineTo(8, 1);
            roof.lineTo(15, 8);
            roof.closeSubpath();
            p.drawPath(roof);
            p.setBrush(QColor(255, 255, 192));
            p.drawRect(3, 8, 10, 7);
        });
    }
    return {};
}

}  // namespace pictures
