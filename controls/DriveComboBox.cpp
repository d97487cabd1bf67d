#include "controls/DriveComboBox.h"

#include "platform/drives/Files.h"
#include "platform/machine/Machine.h"

#include <QStyle>

namespace controls {

namespace {

QStyle::StandardPixmap iconOf(platform::DriveKind kind)
{
    switch (kind) {
    case platform::DriveKind::Floppy:
        return QStyle::SP_DriveFDIcon;
    case platform::DriveKind::CdRom:
        return QStyle::SP_DriveCDIcon;
    case platform::DriveKind::Fixed:
        break;
    }
    return QStyle::SP_DriveHDIcon;
}

// The whole item in upper case. A floppy's label lies on the disk, which is not read for the list.
QString driveText(const platform::Drive &drive, DriveComboBox::Text text)
{
    QString item = QString(drive.letter) + u':';
    if (text == DriveComboBox::Text::LettersAndVolumeNames && !drive.label.isEmpty())
        item += QStringLiteral(" [") + drive.label + u']';
    return item.toUpper();
}

}  // namespace

DriveComboBox::DriveComboBox(QWidget *parent)
    : DriveComboBox(Text::Letters, parent)
{}

DriveComboBox::DriveComboBox(Text text, QWidget *parent)
    : QComboBox(parent)
{
    for (const platform::Drive &drive : platform::machine().drives())
        addItem(style()->standardIcon(iconOf(drive.kind)), driveText(drive, text), drive.letter);
    setDrive(platform::currentDirectory().at(0));

    // Forwarded from currentIndexChanged so that a slot may set the drive again while it runs: the
    // nested change is announced in turn and the last drive set is the one shown.
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit driveChanged(drive()); });
}

QChar DriveComboBox::drive() const
{
    return currentData().toChar();
}

void DriveComboBox::setDrive(QChar letter)
{
    const int index = findData(letter.toUpper());
    if (index >= 0)
        setCurrentIndex(index);
}

}  // namespace controls
