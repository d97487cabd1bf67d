#include "winhelp/HelpFile.h"

#include <QHelpContentModel>
#include <QHelpEngine>
#include <QHelpIndexModel>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

// The help file the build made, as the program's windows ask for it.
class HelpFileTest : public QObject {
    Q_OBJECT
private slots:
    void contextNumbersLeadToTopics_data();
    void contextNumbersLeadToTopics();
    void unknownContextNumberHasNoTopic();
    void contentsListsEveryTopic();
    void indexFindsNotfalldiskette();
    void fullTextSearchFindsNotfalldiskette();
    void textFileIsNoHelpFile();

private:
    std::unique_ptr<winhelp::HelpFile> openBuiltFile();
    QTemporaryDir m_cache;
};

namespace {

QString pageTitle(const winhelp::HelpFile &file, const QUrl &page, QString *text = nullptr)
{
    QTextDocument document;
    document.setHtml(QString::fromUtf8(file.engine().fileData(page)));
    if (text)
        *text = document.toPlainText();
    return document.metaInformation(QTextDocument::DocumentTitle);
}

const QStringList TopicTitles{"Willkommen zu Velko Save",
                              "Das Hauptfenster",
                              "Dateien in die Sicherungsliste aufnehmen",
                              "Ein Verzeichnis anlegen",
                              "Velko Restore - Sicherungsdateien wiederherstellen",
                              "Sicherung vergleichen",
                              "Die Notfalldiskette",
                              "Wenn Windows nicht mehr startet"};

}  // namespace

std::unique_ptr<winhelp::HelpFile> HelpFileTest::openBuiltFile()
{
    QString error;
    auto file = winhelp::HelpFile::open(qEnvironmentVariable("VELKO_HELP_FILE"), m_cache.path(), &error);
    if (!file)
        qWarning("%s", qPrintable(error));
    return file;
}

void HelpFileTest::contextNumbersLeadToTopics_data()
{
    QTest::addColumn<int>("contextNumber");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("phrase");
    QTest::newRow("first start") << 1 << "Willkommen zu Velko Save"
                                 << "Orvel.ini";
    QTest::newRow("main window") << 5 << "Das Hauptfenster"
                                 << "Es muß zumindest eine Datei zur Sicherung";
    QTest::newRow("restore dialog") << 6 << "Velko Restore - Sicherungsdateien wiederherstellen"
                                    << "In diesem Verzeichnis befinden sich keine Sicherungskopien !";
    QTest::newRow("emergency disk") << 7 << "Die Notfalldiskette"
                                    << "Der eingelegte Datenträger ist schreibgeschützt !";
    QTest::newRow("create directory") << 8 << "Ein Verzeichnis anlegen"
                                      << "Der Verzeichnisnamen darf keines der folgenden Zeichen enthalten:";
    QTest::newRow("add files") << 9 << "Dateien in die Sicherungsliste aufnehmen"
                               << "befindet sich bereits in der Sicherungsliste !";
    QTest::newRow("comparison window") << 10 << "Sicherung vergleichen"
                                       << "Kopie fehlt";
}

void HelpFileTest::contextNumbersLeadToTopics()
{
    QFETCH(int, contextNumber);
    QFETCH(QString, title);
    QFETCH(QString, phrase);
    const auto file = openBuiltFile();
    QVERIFY(file);
    const QUrl topic = file->topic(contextNumber);
    QVERIFY(!topic.isEmpty());
    QString text;
    QCOMPARE(pageTitle(*file, topic, &text), title);
    QVERIFY2(text.simplified().contains(phrase), qPrintable(phrase));
}

void HelpFileTest::unknownContextNumberHasNoTopic()
{
    const auto file = openBuiltFile();
    QVERIFY(file);
    QVERIFY(file->topic(2).isEmpty());
    QCOMPARE(file->title(), QStringLiteral("Velko Save - Hilfe"));
}

void HelpFileTest::contentsListsEveryTopic()
{
    const auto file = openBuiltFile();
    QVERIFY(file);
    QHelpContentModel *model = file->engine().contentModel();
    QSignalSpy created(model, &QHelpContentModel::contentsCreated);
    model->createContents(QString());
    QVERIFY(created.wait());

    QCOMPARE(model->rowCount(), 1);
    const QModelIndex book = model->index(0, 0);
    QCOMPARE(model->contentItemAt(book)->url(), file->contentsPage());
    QStringList titles;
    for (int row = 0; row < model->rowCount(book); ++row)
        titles.append(model->contentItemAt(model->index(row, 0, book))->title());
    QCOMPARE(titles, TopicTitles);
    for (const int contextNumber : {1, 5, 6, 7, 8, 9, 10})
        QVERIFY(titles.contains(pageTitle(*file, file->topic(contextNumber))));
}

void HelpFileTest::indexFindsNotfalldiskette()
{
    const auto file = openBuiltFile();
    QVERIFY(file);
    QHelpIndexModel *index = file->engine().indexModel();
    QSignalSpy created(index, &QHelpIndexModel::indexCreated);
    index->createIndex(QString());
    QVERIFY(created.wait());

    const QModelIndex found = index->filter(QStringLiteral("Notfalldiskette"));
    QVERIFY(found.isValid());
    QCOMPARE(found.data().toString(), QStringLiteral("Notfalldiskette"));
    const QList<QHelpLink> documents = file->engine().documentsForKeyword(QStringLiteral("Notfalldiskette"));
    QCOMPARE(documents.size(), 1);
    QCOMPARE(documents.first().url, file->topic(7));
}

void HelpFileTest::fullTextSearchFindsNotfalldiskette()
{
    const auto file = openBuiltFile();
    QVERIFY(file);
    QHelpSearchEngine *search = file->engine().searchEngine();
    QSignalSpy indexed(search, &QHelpSearchEngine::indexingFinished);
    search->reindexDocumentation();
    QVERIFY(indexed.wait());

    QSignalSpy searched(search, &QHelpSearchEngine::searchingFinished);
    search->search(QStringLiteral("Notfalldiskette"));
    QVERIFY(searched.wait());
    QStringList titles;
    for (const QHelpSearchResult &result : search->searchResults(0, search->searchResultCount()))
        titles.append(result.title());
    QVERIFY2(titles.contains(QStringLiteral("Die Notfalldiskette")), qPrintable(titles.join(", ")));
    QVERIFY2(titles.contains(QStringLiteral("Wenn Windows nicht mehr startet")),
             qPrintable(titles.join(", ")));
}

void HelpFileTest::textFileIsNoHelpFile()
{
    QTemporaryDir folder;
    QFile text(folder.filePath(QStringLiteral("Orvel.hlp")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("[Inhalt]\nVelko Save 1.3 - Hilfethemen\n");
    text.close();
    QString error;
    QVERIFY(!winhelp::HelpFile::open(text.fileName(), m_cache.path(), &error));
    QVERIFY2(error.contains(QStringLiteral("ist keine Hilfedatei")), qPrintable(error));
}

QTEST_MAIN(HelpFileTest)
#include "HelpFileTest.moc"
