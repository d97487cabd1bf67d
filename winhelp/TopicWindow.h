#pragma once

#include <QUrl>
#include <QWidget>

class QPushButton;

namespace winhelp {

class HelpBrowser;
class HelpFile;

// The window that shows one topic, with the button bar of the Windows help: "Hilfethemen"
// opens the help topics, "Zurück" goes back to the topic shown before, "Drucken" prints.
class TopicWindow : public QWidget {
    Q_OBJECT
public:
    explicit TopicWindow(const HelpFile &file, QWidget *parent = nullptr);

    void showTopic(const QUrl &topic);
    QString topicTitle() const;
    HelpBrowser *browser() const { return m_browser; }

signals:
    void topicsRequested();

private:
    void print();

    HelpBrowser *m_browser;
    QPushButton *m_back;
};

}  // namespace winhelp
