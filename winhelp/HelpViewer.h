#pragma once

#include <QObject>
#include <QUrl>

#include <memory>

namespace winhelp {

class HelpFile;
class TopicWindow;
class TopicsDialog;

// The help viewer of one help file: its topic window and its "Hilfethemen" window, and the
// requests of the program (show a topic by context number, show the contents).
class HelpViewer : public QObject {
    Q_OBJECT
public:
    explicit HelpViewer(const HelpFile &file);
    ~HelpViewer() override;

    // command is platform::help::ShowTopic or ShowContents. A context number the file lacks
    // shows the contents.
    void execute(int command, int topic);

    TopicWindow &topicWindow() const { return *m_topicWindow; }
    TopicsDialog &topicsDialog() const { return *m_topicsDialog; }

private:
    void showTopic(const QUrl &topic);

    const HelpFile &m_file;
    std::unique_ptr<TopicWindow> m_topicWindow;
    std::unique_ptr<TopicsDialog> m_topicsDialog;
};

}  // namespace winhelp
