#include "backup/TForm6.h"

#include "backup/core/NewDirectory.h"
#include "controls/MessageDialog.h"
#include "controls/WindowHelp.h"
#include "platform/shell/Desktop.h"
#include "platform/text/LineBreak.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace {

constexpr int HelpContext = 8;

}  // namespace

TForm6::TForm6(QWidget *parent)
    : controls::FormDialog(TitleButtons::Close, parent)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Verzeichnis anlegen"));
    setFixedSize(269, 82);

    Edit1 = new QLineEdit(QStringLiteral("Verzeichnisname (z. B. 'Juni 1999')"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(8, 10, 253, 22);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("&OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(6, 44, 84, 28);
    BitBtn1->setDefault(true);
    BitBtn1->setMouseTracking(true);
    BitBtn1->installEventFilter(this);
    BitBtn3 =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogHelpButton), QStringLiteral("&Hilfe"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setGeometry(93, 44, 84, 28);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                              QStringLiteral("&Abbrechen"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(180, 44, 84, 28);

    connect(BitBtn1, &QPushButton::clicked, this, &TForm6::BitBtn1Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm6::BitBtn3Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm6::Button1Click);
    controls::setWindowHelpContext(this, HelpContext);
}

std::optional<QString> TForm6::createBelow(const QString &directory)
{
    m_directory = directory;
    m_created.reset();
    exec();
    return m_created;
}

bool TForm6::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == BitBtn1 && event->type() == QEvent::MouseMove)
        BitBtn1MouseMove();
    return QDialog::eventFilter(watched, event);
}

void TForm6::FormActivate()
{
    controls::showHandCursor({BitBtn1, BitBtn2, BitBtn3}, controls::shortHelpOn());
}

void TForm6::BitBtn1MouseMove()
{
    BitBtn1->setToolTip(QStringLiteral("Anlegen: ") + backup::newDirectoryPath(m_directory, Edit1->text()));
}

void TForm6::BitBtn1Click()
{
    const QString path = backup::newDirectoryPath(m_directory, Edit1->text());
    controls::runGuarded([&] {
        if (backup::createNewDirectory(path) == backup::NewDirectory::BadName) {
            controls::showMessageAfterBeep(
                controls::MessageType::Warning,
                QStringLiteral("Der Verzeichnisnamen darf keines der folgenden Zeichen enthalten:")
                    + platform::LineBreak + QStringLiteral("  \\ / : * ? \" < > |"),
                controls::MessageButton::Ok);
            return;
        }
        m_created = path;
        accept();
    });
}

void TForm6::BitBtn3Click()
{
    controls::requestHelp(platform::help::ShowTopic, HelpContext);
}

void TForm6::Button1Click()
{
    close();
}

void TForm6::FormClose()
{
    Edit1->setFocus();
}

// Every way out (OK, "&Abbrechen", Esc, the close box) ends here.
void TForm6::done(int result)
{
    FormClose();
    QDialog::done(result);
}
