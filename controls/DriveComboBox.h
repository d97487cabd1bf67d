#pragma once

#include <QComboBox>

namespace controls {

// Lists the machine's drives by upper-case letter with a drive icon, optionally with their volume
// names ("C: [WIN98]"). driveChanged is emitted whenever the shown drive changes, whether the user
// picked it or setDrive did.
class DriveComboBox : public QComboBox {
    Q_OBJECT
public:
    enum class Text { Letters, LettersAndVolumeNames };
    explicit DriveComboBox(QWidget *parent = nullptr);
    explicit DriveComboBox(Text text, QWidget *parent = nullptr);

    QChar drive() const;
    void setDrive(QChar letter);  // no effect for a letter that is not listed

signals:
    void driveChanged(QChar letter);
};

}  // namespace controls
