#include "compare/TVergleich.h"

#include "backup/core/RestoreScript.h"
#include "controls/MessageDialog.h"
#include "controls/WaitCursor.h"
#include "controls/WindowHelp.h"
#include "platform/machine/Clock.h"
#include "platform/shell/Desktop.h"
#include "platform/text/LineBreak.h"
#include "restore/core/RestorePreparation.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTextCursor>
#include <QTextFormat>
#include <QTreeWidget>
#include <QVBoxLayout>

using compare::ComparedFile;
using compare::FileState;

namespace {

constexpr int HelpContext = 10;

enum Column { NameColumn, PlaceColumn, StateColumn, CopySize, CopyTime, OriginalSize, OriginalTime, Columns };

struct Look {
    QColor colour;
    QChar mark;
};

Look lookOf(FileState state)
{
    switch (state) {
    case FileState::Unchanged:
        return {QColor(0, 128, 0), u'='};
    case FileState::Changed:
        return {QColor(192, 96, 0), u'!'};
    case FileState::OriginalMissing:
        return {QColor(0, 0, 192), u'+'};
    case FileState::CopyMissing:
        return {QColor(192, 0, 0), u'x'};
    case FileState::AttributesChanged:
        return {QColor(128, 0, 128), u'A'};
    case FileState::Unreadable:
        return {QColor(96, 96, 96), u'?'};
    }
    return {};
}

// A round badge in the state's colour with its mark, drawn so that no image files need shipping.
QIcon stateIcon(FileState state)
{
    const Look look = lookOf(state);
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(look.colour.darker(140));
    painter.setBrush(look.colour);
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString(look.mark));
    return QIcon(picture);
}

QString sizeText(const compare::FileSide &side)
{
    return side.exists && side.written.isValid() ? QLocale(QLocale::German).toString(side.size) : QString();
}

QString timeText(const QDateTime &moment)
{
    return moment.isValid() ? platform::shortDate(moment) + QLatin1Char(' ') + platform::longTime(moment)
                            : QString();
}

QString bytesText(qint64 size)
{
    return QLocale(QLocale::German).toString(size) + QStringLiteral(" Bytes");
}

QPushButton *button(QWidget *parent, const QString &name, QStyle::StandardPixmap icon, const QString &caption)
{
    auto *result = new QPushButton(parent->style()->standardIcon(icon), caption, parent);
    result->setObjectName(name);
    result->setMinimumHeight(30);
    return result;
}

}  // namespace

TVergleich::TVergleich(QWidget *parent)
    : controls::FormDialog(TitleButtons::Close, parent)
{
    setObjectName(QStringLiteral("Vergleich"));
    setWindowTitle(QStringLiteral("Vergleich mit der Sicherung"));
    setSizeGripEnabled(true);
    setMinimumSize(560, 400);
    resize(780, 540);

    auto *folderGroup = new QGroupBox(QStringLiteral("Sicherung"), this);
    folderGroup->setObjectName(QStringLiteral("GroupBox1"));
    Label1 = new QLabel(folderGroup);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    (new QVBoxLayout(folderGroup))->addWidget(Label1);
    auto *timeGroup = new QGroupBox(QStringLiteral("Datum && Uhrzeit"), this);
    timeGroup->setObjectName(QStringLiteral("GroupBox2"));
    Label2 = new QLabel(timeGroup);
    Label2->setObjectName(QStringLiteral("Label2"));
    (new QVBoxLayout(timeGroup))->addWidget(Label2);
    auto *top = new QHBoxLayout;
    top->addWidget(folderGroup, 3);
    top->addWidget(timeGroup, 1);

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setColumnCount(Columns);
    ListView1->setHeaderLabels({QStringLiteral("Datei"), QStringLiteral("Ort"), QStringLiteral("Zustand"),
                                QStringLiteral("Größe (Sicherung)"), QStringLiteral("Datum (Sicherung)"),
                                QStringLiteral("Größe (aktuell)"), QStringLiteral("Datum (aktuell)")});
    ListView1->header()->setStretchLastSection(false);
    connect(ListView1, &QTreeWidget::currentItemChanged, this, &TVergleich::ListView1Change);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(13);
    Memo1->setFont(fixed);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(ListView1);
    splitter->addWidget(Memo1);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);

    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    QFont bold = font();
    bold.setBold(true);
    Label3->setFont(bold);

    BitBtn1 = button(this, QStringLiteral("BitBtn1"), QStyle::SP_BrowserReload,
                     QStringLiteral("&Wiederherstellen ..."));
    BitBtn3 = button(this, QStringLiteral("BitBtn3"), QStyle::SP_DialogHelpButton, QStringLiteral("&Hilfe"));
    BitBtn2 =
        button(this, QStringLiteral("BitBtn2"), QStyle::SP_DialogCloseButton, QStringLiteral("&Schließen"));
    BitBtn2->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &TVergleich::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TVergleich::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TVergleich::BitBtn3Click);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(Label3, 1);
    bottom->addWidget(BitBtn1);
    bottom->addWidget(BitBtn3);
    bottom->addWidget(BitBtn2);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(top);
    layout->addWidget(splitter, 1);
    layout->addLayout(bottom);

    controls::setWindowHelpContext(this, HelpContext);
}

bool TVergleich::compareFolder(const QString &folder)
{
    m_restoreChosen = false;
    {
        controls::WaitCursor wait;
        m_comparison = compare::compareBackup(folder);
    }
    const int error = m_comparison.error;
    if (error == platform::dos::FileNotFound || error == platform::dos::PathNotFound) {
        controls::showMessageAfterBeep(controls::MessageType::Warning, restore::noBackupText());
        return false;
    }
    if (error == backup::ScriptNotRecognised) {
        controls::showMessageAfterBeep(
            controls::MessageType::Warning,
            m_comparison.scriptPath
                + QStringLiteral(" wurde nicht von Velko Save geschrieben oder nachträglich verändert !")
                + platform::LineBreak + QStringLiteral("Die Sicherung kann daher nicht verglichen werden."));
        return false;
    }
    if (error != platform::dos::Ok) {
        controls::showErrorReport(platform::fileErrorReport(error, m_comparison.scriptPath));
        return false;
    }
    Label1->setText(folder);
    Label2->setText(platform::shortDate(m_comparison.scriptWritten) + QStringLiteral(";  ")
                    + platform::longTime(m_comparison.scriptWritten));
    Label3->setText(summaryText());
    fillList();
    return true;
}

QString TVergleich::summaryText() const
{
    return compare::summaryText(compare::summarize(m_comparison.files));
}

void TVergleich::fillList()
{
    ListView1->clear();
    QTreeWidgetItem *first = nullptr;
    for (qsizetype index = 0; index < m_comparison.files.size(); ++index) {
        const ComparedFile &file = m_comparison.files[index];
        auto *item = new QTreeWidgetItem(ListView1);
        item->setText(NameColumn, file.name);
        item->setText(PlaceColumn, file.place);
        item->setText(StateColumn, compare::stateText(file.state));
        item->setIcon(StateColumn, stateIcon(file.state));
        item->setForeground(StateColumn, lookOf(file.state).colour);
        item->setText(CopySize, sizeText(file.copy));
        item->setText(CopyTime, timeText(file.copy.written));
        item->setText(OriginalSize, sizeText(file.original));
        item->setText(OriginalTime, timeText(file.original.written));
        item->setTextAlignment(CopySize, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(OriginalSize, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(NameColumn, Qt::UserRole, QVariant::fromValue(index));
        // The first row that differs is shown at once.
        if (!first && file.state != FileState::Unchanged)
            first = item;
    }
    for (int column = 0; column < Columns; ++column)
        ListView1->resizeColumnToContents(column);
    if (!first)
        first = ListView1->topLevelItem(0);
    if (first)
        ListView1->setCurrentItem(first);
    else
        Memo1->clear();
}

void TVergleich::ListView1Change()
{
    const QTreeWidgetItem *item = ListView1->currentItem();
    if (!item) {
        Memo1->clear();
        return;
    }
    const auto index = item->data(NameColumn, Qt::UserRole).value<qsizetype>();
    showDifference(m_comparison.files.at(index));
}

void TVergleich::showText(const QString &text)
{
    Memo1->setPlainText(text);
}

void TVergleich::showDifference(const ComparedFile &file)
{
    switch (file.state) {
    case FileState::Unchanged:
        showText(QStringLiteral("Die Datei stimmt mit ihrer Kopie in der Sicherung überein."));
        return;
    case FileState::OriginalMissing:
        showText(QStringLiteral("Die Datei fehlt an ihrem Ort.\nDie Wiederherstellung bringt sie aus der "
                                "Sicherung zurück."));
        return;
    case FileState::CopyMissing:
        showText(QStringLiteral("Die Kopie ") + file.copy.path
                 + QStringLiteral(" fehlt in der Sicherung.\nDie Wiederherstellung kann diese Datei nicht "
                                  "zurückschreiben."));
        return;
    case FileState::AttributesChanged:
        showText(QStringLiteral("Nur die Attribute unterscheiden sich: Die Wiederherstellung setzt ")
                 + compare::attributeFlags(file.savedAttributes) + QStringLiteral(", die Datei hat jetzt ")
                 + compare::attributeFlags(file.original.attributes) + u'.');
        return;
    case FileState::Unreadable:
        showText(QStringLiteral("Die Datei kann nicht gelesen werden: ")
                 + platform::fileErrorText(file.readError));
        return;
    case FileState::Changed:
        break;
    }

    compare::FileDifference difference;
    {
        controls::WaitCursor wait;
        difference = compare::differenceOf(file);
    }
    if (difference.error != platform::dos::Ok) {
        showText(QStringLiteral("Die Datei kann nicht gelesen werden: ")
                 + platform::fileErrorText(difference.error));
        return;
    }
    if (!difference.text) {
        showText(QStringLiteral("Binärdatei: Inhalt unterscheidet sich\n") + QStringLiteral("Sicherung: ")
                 + bytesText(file.copy.size) + QStringLiteral(", aktuell: ") + bytesText(file.original.size));
        return;
    }
    if (difference.lines.isEmpty()) {
        showText(
            QStringLiteral("Die Zeilen sind gleich; die Dateien unterscheiden sich nur in den Zeilenenden."));
        return;
    }

    Memo1->clear();
    QTextCursor cursor(Memo1->document());
    bool first = true;
    const auto line = [&](const QString &text, const QColor &colour, const QColor &background) {
        QTextBlockFormat block;
        if (background.isValid())
            block.setBackground(background);
        QTextCharFormat characters;
        characters.setForeground(colour);
        if (first)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
        first = false;
        cursor.insertText(text, characters);
    };
    line(QStringLiteral("--- Sicherung: ") + file.copy.path, QColor(160, 0, 0), {});
    line(QStringLiteral("+++ Aktuell:   ") + file.original.path, QColor(0, 112, 0), {});
    for (const compare::DiffLine &diffLine : difference.lines) {
        switch (diffLine.kind) {
        case compare::DiffLine::Kind::Hunk:
            line(diffLine.text, QColor(0, 0, 160), QColor(232, 232, 248));
            break;
        case compare::DiffLine::Kind::Context:
            line(QLatin1Char(' ') + diffLine.text, QColor(0, 0, 0), {});
            break;
        case compare::DiffLine::Kind::Removed:
            line(QLatin1Char('-') + diffLine.text, QColor(160, 0, 0), QColor(255, 224, 224));
            break;
        case compare::DiffLine::Kind::Added:
            line(QLatin1Char('+') + diffLine.text, QColor(0, 112, 0), QColor(224, 255, 224));
            break;
        }
    }
    Memo1->moveCursor(QTextCursor::Start);
}

void TVergleich::FormActivate()
{
    controls::showHandCursor({BitBtn1, BitBtn2, BitBtn3}, controls::shortHelpOn());
    ListView1->setFocus();
}

void TVergleich::BitBtn1Click()
{
    m_restoreChosen = true;
    accept();
}

void TVergleich::BitBtn2Click()
{
    reject();
}

void TVergleich::BitBtn3Click()
{
    controls::requestHelp(platform::help::ShowTopic, HelpContext);
}
