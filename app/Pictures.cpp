#include "app/Pictures.h"

#include "controls/ClassicIcons.h"
#include "controls/DrawnOnce.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

namespace pictures {

namespace {

#include "app/pictures/Title.xpm"

void paintProgramIcon(QPainter &p)
{
    // A floppy disk with a green arrow: saving system files.
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
}

void paintAdd(QPainter &p)
{
    p.setPen(QPen(QColor(0, 128, 0), 3));
    p.drawLine(8, 2, 8, 14);
    p.drawLine(2, 8, 14, 8);
}

void paintRemove(QPainter &p)
{
    p.setPen(QPen(QColor(192, 0, 0), 3));
    p.drawLine(2, 8, 14, 8);
}

void paintExit(QPainter &p)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(128, 64, 0));
    p.drawRect(3, 1, 9, 14);
    p.setBrush(Qt::yellow);
    p.drawEllipse(QPointF(10, 8), 1, 1);
}

void paintMail(QPainter &p)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(1, 4, 14, 9);
    p.drawLine(1, 4, 8, 9);
    p.drawLine(15, 4, 8, 9);
}

void paintHome(QPainter &p)
{
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
}

// The pictures this file draws itself, each once per run, by the first thread that asks for it.
enum Drawn { ProgramIcon, Title, Add, Remove, Exit, Mail, Home, DrawnCount };

QImage antialiased(int size, void (*paint)(QPainter &))
{
    return controls::paintedImage(size, paint, QPainter::Antialiasing);
}

QImage drawImage(Drawn which)
{
    switch (which) {
    case ProgramIcon:
        return antialiased(32, paintProgramIcon);
    case Title:
        return QImage(titleXpm);
    case Add:
        return antialiased(16, paintAdd);
    case Remove:
        return antialiased(16, paintRemove);
    case Exit:
        return antialiased(16, paintExit);
    case Mail:
        return antialiased(16, paintMail);
    case Home:
        return antialiased(16, paintHome);
    case DrawnCount:
        break;
    }
    return {};
}

const QImage &drawn(Drawn which)
{
    static controls::DrawnOnce pictures[DrawnCount];
    return pictures[which].image([which] { return drawImage(which); });
}

QIcon drawnIcon(Drawn which)
{
    return QIcon(QPixmap::fromImage(drawn(which)));
}

}  // namespace

void drawAhead()
{
    for (int which = 0; which < DrawnCount; ++which)
        drawn(static_cast<Drawn>(which));
    controls::drawClassicPictures();
}

QPixmap programIcon()
{
    return QPixmap::fromImage(drawn(ProgramIcon));
}

QPixmap titleImage()
{
    return QPixmap::fromImage(drawn(Title));
}

QIcon glyph(Glyph which)
{
    QStyle *style = QApplication::style();
    switch (which) {
    case Glyph::Add:
        return drawnIcon(Add);
    case Glyph::Remove:
        return drawnIcon(Remove);
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
        return drawnIcon(Exit);
    case Glyph::Mail:
        return drawnIcon(Mail);
    case Glyph::Home:
        return drawnIcon(Home);
    }
    return {};
}

}  // namespace pictures
