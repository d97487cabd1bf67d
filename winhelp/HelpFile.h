#pragma once

#include <QString>
#include <QUrl>

#include <memory>

class QHelpEngine;

namespace winhelp {

// A help file (a Qt compressed help file, whatever its name) opened for viewing. The Qt help
// engine needs a collection that registers the file; it is kept in a folder of its own below
// cacheFolder and built afresh when the file has changed.
//
// The program asks for topics by context number: context number n is the index keyword with
// the id "kontext-n", the contents page the one with the id "inhalt".
class HelpFile {
public:
    // Null, and *error set to a German message, when the file cannot be opened as help.
    static std::unique_ptr<HelpFile> open(const QString &hostPath, const QString &cacheFolder,
                                          QString *error);
    ~HelpFile();

    QHelpEngine &engine() const { return *m_engine; }
    // The help's title, from its contents page, for the windows' captions.
    QString title() const { return m_title; }
    QUrl contentsPage() const;
    // Empty when the file has no topic with this context number.
    QUrl topic(int contextNumber) const;

private:
    HelpFile() = default;
    QUrl document(const QString &id) const;

    std::unique_ptr<QHelpEngine> m_engine;
    QString m_title;
};

}  // namespace winhelp
