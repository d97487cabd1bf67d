#include "winhelp/TopicWindow.h"

#include "winhelp/HelpBrowser.h"
#include "winhelp/HelpFile.h"

#include <QHBoxLayout>
#include <QHelpEngine>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace winhelp {

namespace {

QPushButton *barButton(const QString &caption, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

}  // namespace

TopicWindow::TopicWindow(const HelpFile &file, QWidget *parent)
    : QWidget(parent, Qt::Window),
      m_browser(new HelpBrowser(file.engine(), this))
{
    setObjectName(QStringLiteral("TopicWindow"));
    setWindowTitle(file.title());
    m_browser->setObjectName(QStringLiteral("TopicBrowser"));

    auto *topics = barButton(QStringLiteral("&Hilfethemen"), QStringLiteral("TopicsButton"), this);
    m_back = barButton(QStringLiteral("&Zurück"), QStringLiteral("BackButton"), this);
    auto *printButton = barButton(QStringLiteral("&Drucken"), QStringLiteral("PrintButton"), this);
    m_back->setEnabled(false);

    auto *bar = new QHBoxLayout;
    bar->setSpacing(2);
    bar->addWidget(topics);
    bar->addWidget(m_back);
    bar->addWidget(printButton);
    bar->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addLayout(bar);
    layout->addWidget(m_browser);
    resize(560, 480);

    connect(topics, &QPushButton::clicked, this, &TopicWindow::topicsRequested);
    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QPushButton::setEnabled);
    connect(printButton, &QPushButton::clicked, this, &TopicWindow::print);
}

void TopicWindow::showTopic(const QUrl &topic)
{
    m_browser->setSource(topic);
}

QString TopicWindow::topicTitle() const
{
    return m_browser->documentTitle();
}

void TopicWindow::print()
{
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    if (dialog.exec() == QDialog::Accepted)
        m_browser->print(&printer);
}

}  // namespace winhelp
