#include "winhelp/HelpBrowser.h"

#include <QHelpEngineCore>

namespace winhelp {

HelpBrowser::HelpBrowser(const QHelpEngineCore &engine, QWidget *parent)
    : QTextBrowser(parent),
      m_engine(engine)
{
    // The topics' pages carry no style of their own: the look of the Windows help.
    document()->setDefaultStyleSheet(QStringLiteral("body { font-family: 'MS Sans Serif'; font-size: 12px; }"
                                                    "h1 { margin-bottom: 6px; }"
                                                    "h2 { margin-top: 10px; margin-bottom: 3px; }"
                                                    "a { color: #008000; }"
                                                    "th { background-color: #c0c0c0; text-align: left; }"));
}

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    if (name.scheme() == QStringLiteral("qthelp"))
        return m_engine.fileData(name);
    return QTextBrowser::loadResource(type, name);
}

}  // namespace winhelp
