#include "controls/ClassicIcons.h"

#include "controls/DrawnOnce.h"

#include <QPainterPath>
#include <QPixmap>

namespace controls {

namespace {

const QColor Outline(0, 0, 0);
const QColor Shadow(128, 128, 128);
const QColor Face(192, 192, 192);
const QColor Light(255, 255, 255);
const QColor FolderYellow(255, 255, 0);
const QColor FolderDark(128, 128, 0);
const QColor Navy(0, 0, 128);

void closedFolder(QPainter &p)
{
    p.setPen(Outline);
    p.setBrush(FolderDark);
    p.drawRect(1, 3, 5, 2);  // the tab
    p.setBrush(FolderYellow);
    p.drawRect(1, 5, 13, 9);
    p.setPen(Light);
    p.drawLine(2, 6, 13, 6);
}

void openFolder(QPainter &p)
{
    p.setPen(Outline);
    p.setBrush(FolderDark);
    p.drawRect(1, 3, 5, 2);
    p.drawRect(1, 5, 12, 9);
    QPainterPath front;
    front.moveTo(1, 14);
    front.lineTo(4, 8);
    front.lineTo(15, 8);
    front.lineTo(12, 14);
    front.closeSubpath();
    p.setBrush(FolderYellow);
    p.drawPath(front);
}

void driveBox(QPainter &p)
{
    p.setPen(Outline);
    p.setBrush(Face);
    p.drawRect(1, 6, 14, 6);
    p.setPen(Light);
    p.drawLine(2, 7, 13, 7);
    p.setPen(Shadow);
    p.drawLine(3, 9, 9, 9);
}

void hardDisk(QPainter &p)
{
    driveBox(p);
    p.fillRect(11, 9, 2, 2, QColor(0, 192, 0));  // the busy light
}

void floppy(QPainter &p)
{
    p.setPen(Outline);
    p.setBrush(Navy);
    p.drawRect(2, 1, 12, 14);
    p.setBrush(Face);
    p.drawRect(5, 1, 6, 4);  // the shutter
    p.setBrush(Light);
    p.drawRect(4, 8, 8, 6);  // the label
}

void cdRom(QPainter &p)
{
    p.setPen(Shadow);
    p.setBrush(QColor(224, 224, 224));
    p.drawEllipse(1, 1, 13, 13);
    p.setBrush(Light);
    p.drawEllipse(6, 6, 3, 3);
}

void networkDrive(QPainter &p)
{
    p.save();
    p.translate(0, -3);
    driveBox(p);
    p.restore();
    p.setPen(Outline);
    p.drawLine(8, 10, 8, 13);
    p.drawLine(3, 14, 13, 14);
}

void tick(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 128, 0), 3));
    p.drawLine(2, 9, 6, 13);
    p.drawLine(6, 13, 14, 3);
}

void cross(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(192, 0, 0), 2.5));
    p.drawLine(3, 3, 13, 13);
    p.drawLine(13, 3, 3, 13);
}

// Drawn, not written: a character would load a font face of its own at start.
void questionMark(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QColor blue(0, 0, 160);
    QPainterPath hook;
    hook.arcMoveTo(QRectF(4.5, 2, 7, 7), 160);
    hook.arcTo(QRectF(4.5, 2, 7, 7), 160, -220);
    hook.lineTo(8, 9.5);
    hook.lineTo(8, 11.5);
    p.setPen(QPen(blue, 2.2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.fillRect(QRectF(7, 13, 2, 2), blue);
}

void newFolder(QPainter &p)
{
    p.translate(0, 1);
    closedFolder(p);
    p.resetTransform();
    p.setPen(QPen(QColor(0, 128, 0), 2));
    p.drawLine(12, 0, 12, 6);
    p.drawLine(9, 3, 15, 3);
}

void roundArrow(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 128, 0), 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2.5, 2.5, 11, 11), 30 * 16, 280 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 128, 0));
    p.drawPolygon(QPolygonF({QPointF(10, 1), QPointF(15, 5), QPointF(9, 7)}));
}

// The menu bar's button for entries that do not fit: two small chevrons.
void chevrons(QPainter &p)
{
    p.setPen(Outline);
    for (int x : {4, 8}) {
        p.drawLine(x, 5, x + 3, 8);
        p.drawLine(x + 3, 8, x, 11);
    }
}

struct Picture {
    QStyle::StandardPixmap which;
    void (*paint)(QPainter &);
};

const Picture Pictures[] = {
    {QStyle::SP_DirClosedIcon, closedFolder},
    {QStyle::SP_DirOpenIcon, openFolder},
    {QStyle::SP_DriveHDIcon, hardDisk},
    {QStyle::SP_DriveFDIcon, floppy},
    {QStyle::SP_DriveCDIcon, cdRom},
    {QStyle::SP_DriveNetIcon, networkDrive},
    {QStyle::SP_DialogOkButton, tick},
    {QStyle::SP_DialogCancelButton, cross},
    {QStyle::SP_DialogHelpButton, questionMark},
    {QStyle::SP_FileDialogNewFolder, newFolder},
    {QStyle::SP_BrowserReload, roundArrow},
    {QStyle::SP_ToolBarHorizontalExtensionButton, chevrons},
};
constexpr std::size_t PictureCount = std::size(Pictures);

const QImage &drawnPicture(std::size_t index)
{
    static DrawnOnce drawn[PictureCount];
    return drawn[index].image([index] { return paintedImage(16, Pictures[index].paint); });
}

}  // namespace

void drawClassicPictures()
{
    for (std::size_t index = 0; index < PictureCount; ++index)
        drawnPicture(index);
}

QIcon classicIcon(QStyle::StandardPixmap which)
{
    for (std::size_t index = 0; index < PictureCount; ++index) {
        if (Pictures[index].which == which)
            return QIcon(QPixmap::fromImage(drawnPicture(index)));
    }
    return {};
}

}  // namespace controls
