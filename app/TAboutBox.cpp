#include "app/TAboutBox.h"

#include "app/Pictures.h"
#include "controls/WindowHelp.h"
#include "platform/shell/Desktop.h"
#include "platform/shell/ShellLink.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

QLabel *label(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
              bool bold = false, const QColor &colour = Qt::black)
{
    auto *result = new QLabel(text, parent);
    result->setObjectName(name);
    QFont font = result->font();
    font.setBold(bold);
    result->setFont(font);
    QPalette palette = result->palette();
    palette.setColor(QPalette::WindowText, colour);
    result->setPalette(palette);
    result->setGeometry(geometry);
    return result;
}

void setLinkColour(QLabel *link, const QColor &colour)
{
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, colour);
    link->setPalette(palette);
}

QLabel *link(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    QLabel *result = label(parent, name, text, geometry, false, QColor(0, 0, 255));
    QFont font = result->font();
    font.setUnderline(true);
    result->setFont(font);
    result->setCursor(Qt::PointingHandCursor);
    result->setMouseTracking(true);
    return result;
}

}  // namespace

QString TAboutBox::homePage()
{
    return QStringLiteral("https://velko-save.example/");
}

QString TAboutBox::mailAddress()
{
    return QStringLiteral("info@velko-save.example");
}

void TAboutBox::openHomePage(const QObject *owner)
{
    platform::desktop().shellExecute(owner, {}, homePage(), {}, {}, platform::showCommand::Normal);
}

void TAboutBox::writeMail(const QObject *owner)
{
    platform::desktop().shellExecute(owner, QStringLiteral("open"), QStringLiteral("mailto:") + mailAddress(),
                                     {}, {}, platform::showCommand::Normal);
}

TAboutBox::TAboutBox(const QObject *mainWindow, QWidget *parent)
    : controls::FormDialog(TitleButtons::Close, parent),
      m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Info"));
    setFixedSize(315, 204);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(8, 8, 299, 150);
    Panel1->setMouseTracking(true);
    Panel1->installEventFilter(this);

    auto *image1 = new QLabel(Panel1);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setPixmap(pictures::programIcon());
    image1->setGeometry(10, 10, 32, 32);
    auto *programIcon = new QLabel(Panel1);
    programIcon->setObjectName(QStringLiteral("ProgramIcon"));
    programIcon->setPixmap(pictures::programIcon());
    programIcon->setGeometry(257, 10, 32, 32);

    QLabel *product = label(Panel1, QStringLiteral("ProductName"), QStringLiteral("Velko"),
                            QRect(96, 12, 56, 22), true, QColor(0, 0, 255));
    QLabel *save = label(Panel1, QStringLiteral("Label5"), QStringLiteral("Save"), QRect(154, 12, 56, 22),
                         true, QColor(255, 0, 0));
    for (QLabel *part : {product, save}) {
        QFont font = part->font();
        font.setPixelSize(18);
        part->setFont(font);
    }
    product->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label(Panel1, QStringLiteral("Version"), QStringLiteral("Version 1.3"), QRect(10, 50, 280, 16), true);
    label(Panel1, QStringLiteral("Copyright"),
          QStringLiteral("© 1999 Velko Software. Alle Rechte vorbehalten."), QRect(10, 70, 280, 16), true);
    label(Panel1, QStringLiteral("Label3"), QStringLiteral("Homepage:"), QRect(10, 100, 70, 16));
    Label1 = link(Panel1, QStringLiteral("Label1"), homePage(), QRect(84, 100, 205, 16));
    label(Panel1, QStringLiteral("Label4"), QStringLiteral("E- Mail:"), QRect(10, 122, 70, 16));
    Label2 = link(Panel1, QStringLiteral("Label2"), mailAddress(), QRect(84, 122, 205, 16));
    Label1->installEventFilter(this);
    Label2->installEventFilter(this);

    OKButton = new QPushButton(QStringLiteral("Zurück"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(118, 168, 80, 28);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

bool TAboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        // A move over a link ends there: passed on to the panel, it would turn the link blue again.
        if (watched == Label1) {
            Label1MouseMove();
            return true;
        }
        if (watched == Label2) {
            Label2MouseMove();
            return true;
        }
        if (watched == Panel1)
            Panel1MouseMove();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == Label1)
            Label1Click();
        else if (watched == Label2)
            Label2Click();
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::FormActivate()
{
    controls::showHandCursor({OKButton}, controls::shortHelpOn());
}

void TAboutBox::Label1Click()
{
    openHomePage(m_mainWindow);
}

void TAboutBox::Label2Click()
{
    writeMail(this);
}

void TAboutBox::Label1MouseMove()
{
    setLinkColour(Label1, QColor(255, 0, 0));
}

void TAboutBox::Label2MouseMove()
{
    setLinkColour(Label2, QColor(255, 0, 0));
}

void TAboutBox::Panel1MouseMove()
{
    setLinkColour(Label1, QColor(0, 0, 255));
    setLinkColour(Label2, QColor(0, 0, 255));
}
