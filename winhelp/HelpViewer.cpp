#include "winhelp/HelpViewer.h"

#include "platform/shell/Desktop.h"
#include "winhelp/HelpFile.h"
#include "winhelp/TopicWindow.h"
#include "winhelp/TopicsDialog.h"

#include <QTabWidget>

namespace winhelp {

HelpViewer::HelpViewer(const HelpFile &file)
    : m_file(file),
      m_topicWindow(std::make_unique<TopicWindow>(file)),
      m_topicsDialog(std::make_unique<TopicsDialog>(file))
{
    connect(m_topicWindow.get(), &TopicWindow::topicsRequested, this,
            [this] { m_topicsDialog->showTab(TopicsDialog::Tab(m_topicsDialog->tabs()->currentIndex())); });
    connect(m_topicsDialog.get(), &TopicsDialog::topicChosen, this, &HelpViewer::showTopic);
}

HelpViewer::~HelpViewer() = default;

void HelpViewer::execute(int command, int topic)
{
    const QUrl page = command == platform::help::ShowTopic ? m_file.topic(topic) : QUrl();
    if (page.isEmpty())
        m_topicsDialog->showTab(TopicsDialog::ContentsTab);
    else
        showTopic(page);
}

void HelpViewer::showTopic(const QUrl &topic)
{
    m_topicWindow->showTopic(topic);
    m_topicWindow->show();
    m_topicWindow->raise();
    m_topicWindow->activateWindow();
}

}  // namespace winhelp
