#include "winhelp/HelpFile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHelpEngine>
#include <QHelpLink>
#include <QTextDocument>

namespace winhelp {

namespace {

const QString StampKey = QStringLiteral("velkoHelpFileStamp");

// Changes whenever the help file is replaced or rewritten.
QString stampOf(const QFileInfo &file)
{
    return QString::number(file.size()) + u' ' + QString::number(file.lastModified().toMSecsSinceEpoch());
}

QString collectionFolder(const QString &cacheFolder, const QString &canonicalPath)
{
    const QByteArray hash = QCryptographicHash::hash(canonicalPath.toUtf8(), QCryptographicHash::Sha1);
    return cacheFolder + u'/' + QString::fromLatin1(hash.toHex());
}

std::unique_ptr<QHelpEngine> openCollection(const QString &folder)
{
    auto engine = std::make_unique<QHelpEngine>(folder + QStringLiteral("/hilfe.qhc"));
    // The collection is ours to write: it registers the file and keeps its stamp.
    engine->setReadOnly(false);
    // Without a filter the engine shows every registered document.
    engine->setUsesFilterEngine(true);
    return engine;
}

}  // namespace

std::unique_ptr<HelpFile> HelpFile::open(const QString &hostPath, const QString &cacheFolder, QString *error)
{
    const QFileInfo info(hostPath);
    const QString notHelp = QStringLiteral("Die Datei %1 ist keine Hilfedatei oder ist beschädigt.")
                                .arg(QDir::toNativeSeparators(hostPath));
    if (!info.isFile() || !info.isReadable()) {
        *error =
            QStringLiteral("Die Hilfedatei %1 wurde nicht gefunden.").arg(QDir::toNativeSeparators(hostPath));
        return nullptr;
    }
    const QString path = info.canonicalFilePath();
    const QString folder = collectionFolder(cacheFolder, path);
    const QString stamp = stampOf(info);

    std::unique_ptr<HelpFile> file(new HelpFile);
    if (QDir(folder).exists()) {
        file->m_engine = openCollection(folder);
        if (!file->m_engine->setupData() || file->m_engine->customValue(StampKey).toString() != stamp)
            file->m_engine.reset();
    }
    if (!file->m_engine) {
        // A collection of an older state of the file, or none: build it anew.
        QDir(folder).removeRecursively();
        if (!QDir().mkpath(folder)) {
            *error = QStringLiteral("Der Ordner %1 für die Hilfe kann nicht angelegt werden.")
                         .arg(QDir::toNativeSeparators(folder));
            return nullptr;
        }
        file->m_engine = openCollection(folder);
        if (!file->m_engine->setupData() || !file->m_engine->registerDocumentation(path)) {
            *error = notHelp;
            return nullptr;
        }
        file->m_engine->setCustomValue(StampKey, stamp);
    }
    const QUrl contents = file->contentsPage();
    if (contents.isEmpty()) {
        *error = notHelp;
        return nullptr;
    }
    QTextDocument page;
    page.setHtml(QString::fromUtf8(file->m_engine->fileData(contents)));
    file->m_title = page.metaInformation(QTextDocument::DocumentTitle);
    return file;
}

HelpFile::~HelpFile() = default;

QUrl HelpFile::contentsPage() const
{
    return document(QStringLiteral("inhalt"));
}

QUrl HelpFile::topic(int contextNumber) const
{
    return document(QStringLiteral("kontext-") + QString::number(contextNumber));
}

QUrl HelpFile::document(const QString &id) const
{
    const QList<QHelpLink> links = m_engine->documentsForIdentifier(id);
    return links.isEmpty() ? QUrl() : links.first().url;
}

}  // namespace winhelp
