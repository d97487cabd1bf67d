#include "accessories/TextViewer.h"

#include "controls/Look.h"
#include "platform/text/AnsiText.h"

#include <QAction>
#include <QFont>
#include <QMenuBar>
#include <QPlainTextEdit>

namespace accessories {

QString editorText(const QByteArray &bytes)
{
    QString text = platform::fromAnsi(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

TextViewer::TextViewer(const QString &fileName, const QString &text, QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Editor"));
    setWindowTitle(fileName + QStringLiteral(" - Editor"));
    resize(560, 420);

    QMenu *file = menuBar()->addMenu(QStringLiteral("&Datei"));
    QAction *quit = file->addAction(QStringLiteral("&Beenden"));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    Edit = new QPlainTextEdit(this);
    Edit->setObjectName(QStringLiteral("Edit"));
    Edit->setReadOnly(true);
    // Like the editor of Windows 98: fixed-width font, no line wrapping.
    Edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    Edit->setFont(controls::classicFont(QStringLiteral("Fixedsys"), 13));
    Edit->setPlainText(text);
    setCentralWidget(Edit);
}

}  // namespace accessories
