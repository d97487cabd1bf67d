#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace controls {

class DirectoryListBox;
class DriveComboBox;

struct FileFilter {
    QString caption;  // "Programme (*.exe; *.com)"
    QString patterns;  // "*.exe; *.com"
};

// The Windows 3.1/95 open-file dialog over the simulated PC: file name line, file list of the
// shown folder under the chosen filter (several files at once), directory tree, drive box and
// filter box. It speaks Windows paths only. Like a Windows open dialog, which is a component until
// it runs, it makes its controls when it is first shown.
class OpenFileDialog : public QDialog {
    Q_OBJECT
public:
    explicit OpenFileDialog(QWidget *parent = nullptr);

    void setFilters(const QList<FileFilter> &filters);  // the first is the default
    void setHelpTopic(int topic);  // 0: no help button

    // Shows the dialog modally. Returns the chosen files as absolute Windows paths in the order
    // they stand in the folder, or an empty list when cancelled.
    QStringList execute();

    // For tests: the next execute() returns these paths at once without showing anything
    // (an empty list = the user cancelled). Used once, then the dialog shows again.
    static void setNextSelection(const QStringList &paths);

public slots:
    void openClicked();  // what "Öffnen", Enter and a double-click on a file do

private:
    void buildControls();
    void showFilters();
    void showFolder();
    void fillFileList();
    void showSelectedNames();
    void changeDrive(QChar letter);
    void changeFilter();
    // Moves the tree; reports a failure and returns false.
    bool moveTo(const QString &directory);
    bool choose(const QStringList &names);
    QString currentPatterns() const;

    QLineEdit *m_fileName = nullptr;
    QListWidget *m_fileList = nullptr;
    QLabel *m_folder = nullptr;
    DirectoryListBox *m_tree = nullptr;
    QComboBox *m_filterBox = nullptr;
    DriveComboBox *m_drives = nullptr;
    QPushButton *m_helpButton = nullptr;

    QList<FileFilter> m_filters;
    QString m_typedPatterns;  // a wildcard typed as file name filters the list until the filter changes
    int m_helpTopic = 0;
    QStringList m_chosen;
};

}  // namespace controls
