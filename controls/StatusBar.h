#pragma once

#include <QStatusBar>

class QLabel;

namespace controls {

// A status bar with one sunken panel across its whole width.
class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusBar(QWidget *parent = nullptr);

    QString panelText() const;
    void setPanelText(const QString &text);

signals:
    void mouseMoved();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_panel;
};

}  // namespace controls
