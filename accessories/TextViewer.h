#pragma once

#include <QMainWindow>

class QPlainTextEdit;

namespace accessories {

// A text file's bytes as the Windows editor shows them: Windows-1252, CR LF line ends.
QString editorText(const QByteArray &bytes);

// The Windows editor (Notepad) as a read-only viewer: "<name> - Editor" with the text.
class TextViewer : public QMainWindow {
    Q_OBJECT
public:
    TextViewer(const QString &fileName, const QString &text, QWidget *parent = nullptr);

    QPlainTextEdit *Edit = nullptr;
};

}  // namespace accessories
