#pragma once

#include <QListWidget>

namespace controls {

// The Windows 3.1-style directory tree: the open path from the drive root down to the current
// directory, then its subdirectories. A double-click or Enter opens a directory. The current
// directory is the process's current directory and is spelled as the system reports it: "D:\" for
// a drive root, otherwise without trailing backslash.
class DirectoryListBox : public QListWidget {
    Q_OBJECT
public:
    explicit DirectoryListBox(QWidget *parent = nullptr);

    QString directory() const;
    QChar drive() const;

    // Both return the DOS error code and leave the tree unchanged on failure; on success the
    // directory becomes current and directoryChanged is emitted if it differs.
    int setDirectory(const QString &directory);
    int setDrive(QChar letter);  // opens that drive's current directory

    void rereadTree();  // after directories were created or removed

    void setTextColor(const QColor &color);
    QColor textColor() const;

signals:
    void directoryChanged(const QString &directory);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fill();
    void openRow(int row);

    QString m_directory;
};

}  // namespace controls
