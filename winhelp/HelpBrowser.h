#pragma once

#include <QTextBrowser>

class QHelpEngineCore;

namespace winhelp {

// Shows the topics of a help file: pages, pictures and links come from the help engine.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    HelpBrowser(const QHelpEngineCore &engine, QWidget *parent = nullptr);

    QVariant loadResource(int type, const QUrl &name) override;

private:
    const QHelpEngineCore &m_engine;
};

}  // namespace winhelp
