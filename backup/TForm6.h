#pragma once

#include "controls/FormDialog.h"

#include <optional>

class QLineEdit;
class QPushButton;

// The create-directory dialog: creates a directory of the typed name below a base directory and
// returns it; what the other windows make of it is up to their owner.
class TForm6 : public controls::FormDialog {
    Q_OBJECT
public:
    explicit TForm6(QWidget *parent = nullptr);

    // Shows the dialog modally for a new directory below `directory` (X:\ for a drive root).
    // Returns the directory "&OK" created, or nothing when the dialog was closed without one.
    std::optional<QString> createBelow(const QString &directory);

    QLineEdit *Edit1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QPushButton *BitBtn3 = nullptr;

public slots:
    void FormActivate() override;
    void BitBtn1Click();  // "&OK": creates the directory and closes
    void BitBtn1MouseMove();
    void BitBtn3Click();  // "&Hilfe": help topic 8
    void Button1Click();  // "&Abbrechen": closes without creating
    void FormClose();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;

private:
    QString m_directory;
    std::optional<QString> m_created;
};
