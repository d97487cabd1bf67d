#pragma once

#include <QDialog>
#include <QUrl>

struct QHelpLink;
class QHelpContentWidget;
class QHelpIndexWidget;
class QHelpSearchEngine;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;

namespace winhelp {

class HelpFile;

// "Hilfethemen": the help file's contents, its index and a full-text search, on three tabs.
// "Anzeigen" (or a double click) hands the chosen topic on and hides the window.
class TopicsDialog : public QDialog {
    Q_OBJECT
public:
    explicit TopicsDialog(const HelpFile &file, QWidget *parent = nullptr);

    enum Tab { ContentsTab, IndexTab, SearchTab };
    void showTab(Tab tab);

    QTabWidget *tabs() const { return m_tabs; }
    QHelpContentWidget *contents() const { return m_contents; }
    QHelpIndexWidget *index() const { return m_index; }
    QLineEdit *indexInput() const { return m_indexInput; }
    QLineEdit *searchInput() const { return m_searchInput; }
    QListWidget *searchResults() const { return m_searchResults; }

signals:
    void topicChosen(const QUrl &topic);

private:
    QWidget *contentsPage();
    QWidget *indexPage();
    QWidget *searchPage();
    void focusTab(int tab);
    void showChosen();
    void choose(const QUrl &topic);
    void chooseAmong(const QList<QHelpLink> &documents, const QString &keyword);
    void search();
    void showSearchResults(int count);

    QHelpSearchEngine *m_searchEngine;
    QTabWidget *m_tabs;
    QHelpContentWidget *m_contents;
    QHelpIndexWidget *m_index;
    QLineEdit *m_indexInput;
    QLineEdit *m_searchInput;
    QListWidget *m_searchResults;
    QLabel *m_searchState;
    bool m_indexing = true;
    bool m_searchPending = false;
};

}  // namespace winhelp
