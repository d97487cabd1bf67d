#include "winhelp/TopicsDialog.h"

#include "winhelp/HelpFile.h"

#include <QHBoxLayout>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace winhelp {

namespace {

// An instruction above the control it speaks of; its "&" letter takes the focus there.
QLabel *instruction(const QString &text, QWidget *control)
{
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    label->setBuddy(control);
    return label;
}

}  // namespace

TopicsDialog::TopicsDialog(const HelpFile &file, QWidget *parent)
    : QDialog(parent),
      m_searchEngine(file.engine().searchEngine()),
      m_tabs(new QTabWidget(this)),
      m_contents(file.engine().contentWidget()),
      m_index(file.engine().indexWidget()),
      m_indexInput(new QLineEdit),
      m_searchInput(new QLineEdit),
      m_searchResults(new QListWidget),
      m_searchState(new QLabel)
{
    setObjectName(QStringLiteral("TopicsDialog"));
    setWindowTitle(QStringLiteral("Hilfethemen: ") + file.title());
    m_tabs->addTab(contentsPage(), QStringLiteral("Inhalt"));
    m_tabs->addTab(indexPage(), QStringLiteral("Index"));
    m_tabs->addTab(searchPage(), QStringLiteral("Suchen"));

    auto *showButton = new QPushButton(QStringLiteral("&Anzeigen"), this);
    showButton->setObjectName(QStringLiteral("ShowButton"));
    showButton->setDefault(true);
    auto *cancelButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(showButton);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);
    resize(420, 440);

    connect(m_tabs, &QTabWidget::currentChanged, this, &TopicsDialog::focusTab);
    connect(showButton, &QPushButton::clicked, this, &TopicsDialog::showChosen);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    file.engine().contentModel()->createContents(QString());
    connect(file.engine().contentModel(), &QHelpContentModel::contentsCreated, m_contents,
            &QTreeView::expandAll);
    file.engine().indexModel()->createIndex(QString());
    // The full-text index of the few pages is built anew in the background at each start, so it
    // always matches the file; a search waits for it.
    connect(m_searchEngine, &QHelpSearchEngine::indexingFinished, this, [this] {
        m_indexing = false;
        if (m_searchPending)
            search();
    });
    m_searchEngine->reindexDocumentation();
}

QWidget *TopicsDialog::contentsPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(instruction(QStringLiteral("Klicken Sie auf ein Thema und dann auf \"Anzeigen\". Oder "
                                                 "klicken Sie auf ein anderes Register, z.B. \"Index\"."),
                                  m_contents));
    m_contents->setObjectName(QStringLiteral("ContentsTree"));
    m_contents->setHeaderHidden(true);
    layout->addWidget(m_contents);
    connect(m_contents, &QHelpContentWidget::linkActivated, this, &TopicsDialog::choose);
    return page;
}

QWidget *TopicsDialog::indexPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(instruction(
        QStringLiteral("&1  Geben Sie die ersten Buchstaben des gesuchten Wortes ein."), m_indexInput));
    m_indexInput->setObjectName(QStringLiteral("IndexInput"));
    layout->addWidget(m_indexInput);
    layout->addWidget(instruction(
        QStringLiteral("&2  Klicken Sie auf den gewünschten Indexeintrag und dann auf \"Anzeigen\"."),
        m_index));
    m_index->setObjectName(QStringLiteral("IndexList"));
    layout->addWidget(m_index);
    connect(m_indexInput, &QLineEdit::textChanged, m_index,
            [this](const QString &text) { m_index->filterIndices(text); });
    connect(m_index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink &document) { choose(document.url); });
    connect(m_index, &QHelpIndexWidget::documentsActivated, this, &TopicsDialog::chooseAmong);
    return page;
}

QWidget *TopicsDialog::searchPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(instruction(QStringLiteral("&1  Geben Sie das Wort ein, nach dem Sie suchen möchten."),
                                  m_searchInput));
    m_searchInput->setObjectName(QStringLiteral("SearchInput"));
    auto *searchButton = new QPushButton(QStringLiteral("&Suchen"));
    searchButton->setObjectName(QStringLiteral("SearchButton"));
    searchButton->setAutoDefault(false);
    auto *row = new QHBoxLayout;
    row->addWidget(m_searchInput);
    row->addWidget(searchButton);
    layout->addLayout(row);
    layout->addWidget(instruction(QStringLiteral("&2  Klicken Sie auf ein Thema und dann auf \"Anzeigen\"."),
                                  m_searchResults));
    m_searchResults->setObjectName(QStringLiteral("SearchResults"));
    layout->addWidget(m_searchResults);
    m_searchState->setObjectName(QStringLiteral("SearchState"));
    layout->addWidget(m_searchState);

    connect(searchButton, &QPushButton::clicked, this, &TopicsDialog::search);
    connect(m_searchResults, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { choose(item->data(Qt::UserRole).toUrl()); });
    connect(m_searchEngine, &QHelpSearchEngine::searchingFinished, this, &TopicsDialog::showSearchResults);
    return page;
}

void TopicsDialog::showTab(Tab tab)
{
    m_tabs->setCurrentIndex(tab);
    show();
    focusTab(tab);
    raise();
    activateWindow();
}

// Each tab starts where the person types or chooses.
void TopicsDialog::focusTab(int tab)
{
    QWidget *const start[] = {m_contents, m_indexInput, m_searchInput};
    start[tab]->setFocus();
}

void TopicsDialog::showChosen()
{
    switch (m_tabs->currentIndex()) {
    case ContentsTab:
        if (const QModelIndex current = m_contents->currentIndex(); current.isValid())
            choose(qobject_cast<QHelpContentModel *>(m_contents->model())->contentItemAt(current)->url());
        break;
    case IndexTab:
        m_index->activateCurrentItem();
        break;
    case SearchTab:
        // Enter in the search field searches; Enter in the list shows.
        if (focusWidget() == m_searchInput)
            search();
        else if (QListWidgetItem *item = m_searchResults->currentItem())
            choose(item->data(Qt::UserRole).toUrl());
        break;
    }
}

void TopicsDialog::choose(const QUrl &topic)
{
    emit topicChosen(topic);
    hide();
}

// A keyword with several topics: the Windows help asks which one.
void TopicsDialog::chooseAmong(const QList<QHelpLink> &documents, const QString &keyword)
{
    QStringList titles;
    for (const QHelpLink &document : documents)
        titles.append(document.title);
    QInputDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Gefundene Themen"));
    dialog.setLabelText(QStringLiteral("Thema wählen für \"%1\":").arg(keyword));
    dialog.setComboBoxItems(titles);
    dialog.setOkButtonText(QStringLiteral("Anzeigen"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (dialog.exec() == QDialog::Accepted)
        choose(documents.at(titles.indexOf(dialog.textValue())).url);
}

void TopicsDialog::search()
{
    const QString words = m_searchInput->text().trimmed();
    m_searchResults->clear();
    if (words.isEmpty()) {
        m_searchState->clear();
        return;
    }
    m_searchPending = m_indexing;
    if (m_indexing) {
        m_searchState->setText(QStringLiteral("Die Wortliste wird erstellt ..."));
        return;
    }
    m_searchEngine->search(words);
}

void TopicsDialog::showSearchResults(int count)
{
    for (const QHelpSearchResult &result : m_searchEngine->searchResults(0, count)) {
        auto *item = new QListWidgetItem(result.title(), m_searchResults);
        item->setData(Qt::UserRole, result.url());
    }
    if (count > 0)
        m_searchResults->setCurrentRow(0);
    m_searchState->setText(count == 1 ? QStringLiteral("1 Thema gefunden")
                                      : QStringLiteral("%1 Themen gefunden").arg(count));
}

}  // namespace winhelp
