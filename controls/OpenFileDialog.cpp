#include "controls/OpenFileDialog.h"

#include "controls/DirectoryListBox.h"
#include "controls/DriveComboBox.h"
#include "controls/MessageDialog.h"
#include "controls/WindowHelp.h"
#include "platform/drives/Files.h"
#include "platform/machine/Machine.h"
#include "platform/shell/Desktop.h"
#include "platform/text/LineBreak.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QShortcut>
#include <QVBoxLayout>

#include <optional>

namespace controls {

namespace {

std::optional<QStringList> nextSelection;

// Windows wildcards: '*' stands for any run of characters, '?' for one; letter case disregarded.
bool matchesWildcard(QStringView name, QStringView pattern)
{
    qsizetype n = 0;
    qsizetype p = 0;
    qsizetype lastStar = -1;
    qsizetype nameAtStar = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            lastStar = p++;
            nameAtStar = n;
        } else if (p < pattern.size()
                   && (pattern[p] == u'?' || pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
            ++n;
            ++p;
        } else if (lastStar >= 0) {
            p = lastStar + 1;
            n = ++nameAtStar;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

// A name without a dot also counts as ending in one, so "*.*" takes every name and "*." takes
// the names without an extension. Patterns are separated by ";", blanks around them ignored.
bool matchesAny(const QString &name, const QStringList &patterns)
{
    const QString dotted = name.contains(u'.') ? QString() : name + u'.';
    for (const QString &pattern : patterns) {
        if (matchesWildcard(name, pattern) || (!dotted.isEmpty() && matchesWildcard(dotted, pattern)))
            return true;
    }
    return false;
}

QStringList splitPatterns(const QString &patterns)
{
    QStringList result;
    for (const QString &pattern : patterns.split(u';')) {
        if (!pattern.trimmed().isEmpty())
            result.append(pattern.trimmed());
    }
    return result;
}

bool hasWildcard(const QString &name)
{
    return name.contains(u'*') || name.contains(u'?');
}

// The file name line holds one name, or several in quotes: "a.ini" "b.ini".
QStringList typedNames(const QString &text)
{
    if (!text.contains(u'"'))
        return text.trimmed().isEmpty() ? QStringList() : QStringList{text.trimmed()};
    static const QRegularExpression quoted(QStringLiteral("\"([^\"]*)\""));
    QStringList names;
    for (const QRegularExpressionMatch &match : quoted.globalMatch(text)) {
        if (!match.captured(1).trimmed().isEmpty())
            names.append(match.captured(1).trimmed());
    }
    return names;
}

// A typed name is relative to the shown folder unless it names a drive or starts at a root.
QString resolvedPath(const QString &directory, const QString &name)
{
    if (name.size() >= 2 && name[1] == u':')
        return name;
    if (name.startsWith(u'\\'))
        return directory.left(2) + name;
    if (directory.endsWith(u'\\'))
        return directory + name;
    return directory + u'\\' + name;
}

// Chosen paths of the shown folder come in the folder's order, any others after them as typed.
QStringList inFolderOrder(const QString &directory, const QStringList &paths)
{
    const platform::DosResult<QStringList> listing = platform::files(directory);
    if (!listing.ok())
        return paths;
    QSet<QString> inFolder;
    QStringList elsewhere;
    for (const QString &path : paths) {
        if (platform::directoryPart(path) == directory)
            inFolder.insert(platform::fileNamePart(path));
        else
            elsewhere.append(path);
    }
    QStringList ordered;
    for (const QString &name : listing.value) {
        if (inFolder.contains(name))
            ordered.append(resolvedPath(directory, name));
    }
    return ordered + elsewhere;
}

// The per-drive current directories and the process's, as the rest of the program left them.
struct CurrentDirectories {
    QString process;
    QHash<QChar, QString> perDrive;

    static CurrentDirectories now()
    {
        CurrentDirectories directories{platform::currentDirectory(), {}};
        for (const platform::Drive &drive : platform::machine().drives()) {
            const platform::DosResult<QString> current = platform::driveCurrentDirectory(drive.letter);
            if (current.ok())
                directories.perDrive.insert(drive.letter, current.value);
        }
        return directories;
    }

    // Only drives the dialog moved on are touched. A directory that vanished meanwhile cannot be
    // returned to; the system then keeps the one it has, as Windows does.
    void restore() const
    {
        for (auto entry = perDrive.cbegin(); entry != perDrive.cend(); ++entry) {
            const platform::DosResult<QString> current = platform::driveCurrentDirectory(entry.key());
            // Directories the process was in a moment ago; one that went meanwhile stays left.
            if (current.ok() && current.value != entry.value())
                (void)platform::setCurrentDirectory(entry.value());
        }
        (void)platform::setCurrentDirectory(process);
    }
};

void reportFailure(int error, const QString &path, const QString &name)
{
    switch (error) {
    case platform::dos::NotReady:
    case platform::dos::InvalidDrive:
        showMessageAfterBeep(MessageType::Warning,
                             QStringLiteral("Laufwerk %1: ist nicht bereit.").arg(path.at(0).toUpper()),
                             MessageButton::Ok);
        return;
    case platform::dos::FileNotFound:
    case platform::dos::PathNotFound:
        showMessageAfterBeep(MessageType::Warning,
                             name + platform::LineBreak + QStringLiteral("Die Datei wurde nicht gefunden.")
                                 + platform::LineBreak
                                 + QStringLiteral("Überprüfen Sie, ob Pfad und Dateiname richtig sind."),
                             MessageButton::Ok);
        return;
    default:
        showErrorReport(platform::fileErrorReport(error, path));
    }
}

}  // namespace

OpenFileDialog::OpenFileDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("OpenDialog1"));
    setSizeGripEnabled(true);
    resize(430, 290);
}

void OpenFileDialog::buildControls()
{
    m_fileName = new QLineEdit(this);
    m_fileName->setObjectName(QStringLiteral("FileNameEdit"));
    m_fileList = new QListWidget(this);
    m_fileList->setObjectName(QStringLiteral("FileListBox"));
    m_fileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_folder = new QLabel(this);
    m_folder->setObjectName(QStringLiteral("FolderLabel"));
    // A deep path must not widen the dialog.
    m_folder->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_tree = new DirectoryListBox(this);
    m_tree->setObjectName(QStringLiteral("DirectoryListBox"));
    m_filterBox = new QComboBox(this);
    m_filterBox->setObjectName(QStringLiteral("FilterComboBox"));
    m_drives = new DriveComboBox(this);
    m_drives->setObjectName(QStringLiteral("DriveComboBox"));

    auto *openButton = new QPushButton(QStringLiteral("Ö&ffnen"), this);
    openButton->setObjectName(QStringLiteral("OpenButton"));
    openButton->setDefault(true);
    auto *cancelButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancelButton->setObjectName(QStringLiteral("CancelButton"));
    m_helpButton = new QPushButton(QStringLiteral("&Hilfe"), this);
    m_helpButton->setObjectName(QStringLiteral("HelpButton"));
    m_helpButton->hide();

    auto *fileNameLabel = new QLabel(QStringLiteral("Dateiname:"), this);
    fileNameLabel->setBuddy(m_fileName);
    auto *folderLabel = new QLabel(QStringLiteral("Ordner:"), this);
    folderLabel->setBuddy(m_tree);
    auto *filterLabel = new QLabel(QStringLiteral("Dateityp:"), this);
    filterLabel->setBuddy(m_filterBox);
    auto *drivesLabel = new QLabel(QStringLiteral("Laufwerke:"), this);
    drivesLabel->setBuddy(m_drives);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(openButton);
    buttons->addWidget(cancelButton);
    buttons->addSpacing(8);
    buttons->addWidget(m_helpButton);
    buttons->addStretch();

    auto *grid = new QGridLayout(this);
    grid->addWidget(fileNameLabel, 0, 0);
    grid->addWidget(folderLabel, 0, 1);
    grid->addWidget(m_fileName, 1, 0);
    grid->addWidget(m_folder, 1, 1);
    grid->addWidget(m_fileList, 2, 0);
    grid->addWidget(m_tree, 2, 1);
    grid->addLayout(buttons, 1, 2, 2, 1);
    grid->addWidget(filterLabel, 3, 0);
    grid->addWidget(drivesLabel, 3, 1);
    grid->addWidget(m_filterBox, 4, 0);
    grid->addWidget(m_drives, 4, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    connect(openButton, &QPushButton::clicked, this, &OpenFileDialog::openClicked);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_helpButton, &QPushButton::clicked, this,
            [this] { requestHelp(platform::help::ShowTopic, m_helpTopic); });
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, [this] {
        if (m_helpTopic != 0)
            requestHelp(platform::help::ShowTopic, m_helpTopic);
    });
    connect(m_fileList, &QListWidget::itemSelectionChanged, this, &OpenFileDialog::showSelectedNames);
    connect(m_fileList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        m_fileList->clearSelection();
        item->setSelected(true);
        openClicked();
    });
    connect(m_tree, &DirectoryListBox::directoryChanged, this, &OpenFileDialog::showFolder);
    connect(m_drives, &DriveComboBox::driveChanged, this, &OpenFileDialog::changeDrive);
    connect(m_filterBox, &QComboBox::currentIndexChanged, this, &OpenFileDialog::changeFilter);
    showFilters();
    m_helpButton->setVisible(m_helpTopic != 0);
}

void OpenFileDialog::setFilters(const QList<FileFilter> &filters)
{
    m_filters = filters;
    if (m_filterBox != nullptr)
        showFilters();
}

void OpenFileDialog::showFilters()
{
    const QSignalBlocker quiet(m_filterBox);
    m_filterBox->clear();
    for (const FileFilter &filter : std::as_const(m_filters))
        m_filterBox->addItem(filter.caption);
    m_filterBox->setCurrentIndex(m_filters.isEmpty() ? -1 : 0);
}

void OpenFileDialog::setHelpTopic(int topic)
{
    m_helpTopic = topic;
    if (m_helpButton != nullptr)
        m_helpButton->setVisible(topic != 0);
}

void OpenFileDialog::setNextSelection(const QStringList &paths)
{
    nextSelection = paths;
}

QStringList OpenFileDialog::execute()
{
    if (nextSelection) {
        const QStringList paths = *nextSelection;
        nextSelection.reset();
        return paths;
    }

    if (m_fileName == nullptr)
        buildControls();
    const CurrentDirectories saved = CurrentDirectories::now();
    setProgramHelpFile(this);
    m_chosen.clear();
    m_typedPatterns.clear();
    // Should the current directory have vanished, the tree stays where it was last.
    m_tree->setDirectory(saved.process);
    m_drives->setDrive(m_tree->drive());
    showFolder();

    const bool accepted = exec() == QDialog::Accepted;
    saved.restore();
    return accepted ? m_chosen : QStringList();
}

void OpenFileDialog::openClicked()
{
    const QStringList names = typedNames(m_fileName->text());
    if (names.isEmpty())
        return;
    if (names.size() == 1) {
        const QString path = resolvedPath(m_tree->directory(), names.first());
        if (hasWildcard(names.first())) {
            if (moveTo(platform::directoryPart(path))) {
                m_typedPatterns = platform::fileNamePart(path);
                showFolder();
            }
            return;
        }
        if (platform::directoryExists(path)) {
            if (moveTo(path))
                m_fileName->clear();
            return;
        }
    }
    if (choose(names))
        accept();
}

void OpenFileDialog::showFolder()
{
    m_folder->setText(m_tree->directory());
    m_fileName->setText(m_typedPatterns);
    fillFileList();
}

void OpenFileDialog::fillFileList()
{
    m_fileList->clear();
    const platform::DosResult<QStringList> names = platform::files(m_tree->directory());
    if (!names.ok()) {
        reportFailure(names.error, m_tree->directory(), m_tree->directory());
        return;
    }
    const QStringList patterns = splitPatterns(currentPatterns());
    for (const QString &name : names.value) {
        if (matchesAny(name, patterns))
            m_fileList->addItem(name);
    }
}

void OpenFileDialog::showSelectedNames()
{
    QStringList names;
    for (int row = 0; row < m_fileList->count(); ++row) {
        if (m_fileList->item(row)->isSelected())
            names.append(m_fileList->item(row)->text());
    }
    if (names.isEmpty())
        return;
    m_fileName->setText(names.size() == 1 ? names.first()
                                          : u'"' + names.join(QStringLiteral("\" \"")) + u'"');
}

void OpenFileDialog::changeDrive(QChar letter)
{
    if (letter == m_tree->drive())
        return;
    const int error = m_tree->setDrive(letter);
    if (error != platform::dos::Ok) {
        reportFailure(error, QString(letter) + u':', QString(letter) + u':');
        m_drives->setDrive(m_tree->drive());
    }
}

void OpenFileDialog::changeFilter()
{
    m_typedPatterns.clear();
    m_fileName->clear();
    fillFileList();
}

bool OpenFileDialog::moveTo(const QString &directory)
{
    const int error = m_tree->setDirectory(directory);
    if (error != platform::dos::Ok) {
        reportFailure(error, directory, directory);
        return false;
    }
    m_drives->setDrive(m_tree->drive());
    return true;
}

bool OpenFileDialog::choose(const QStringList &names)
{
    QStringList paths;
    QSet<QString> seen;
    for (const QString &name : names) {
        const QString path = resolvedPath(m_tree->directory(), name);
        const platform::DosResult<QString> spelled = platform::canonicalPath(path);
        const int error = !spelled.ok()                ? spelled.error
                          : platform::fileExists(path) ? platform::dos::Ok
                                                       : platform::dos::FileNotFound;
        if (error != platform::dos::Ok) {
            reportFailure(error, path, name);
            return false;
        }
        if (!seen.contains(spelled.value)) {
            seen.insert(spelled.value);
            paths.append(spelled.value);
        }
    }
    m_chosen = inFolderOrder(m_tree->directory(), paths);
    return true;
}

QString OpenFileDialog::currentPatterns() const
{
    if (!m_typedPatterns.isEmpty())
        return m_typedPatterns;
    const int index = m_filterBox->currentIndex();
    return index >= 0 && index < m_filters.size() ? m_filters[index].patterns : QStringLiteral("*.*");
}

}  // namespace controls
