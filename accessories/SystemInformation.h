#pragma once

#include <QMainWindow>

class QTreeWidget;

namespace accessories {

// The system information tool (MSINFO32.EXE): the simulated PC's system summary.
class SystemInformation : public QMainWindow {
    Q_OBJECT
public:
    explicit SystemInformation(QWidget *parent = nullptr);

    QTreeWidget *Categories = nullptr;  // the one category, "Systemübersicht"
    QTreeWidget *Summary = nullptr;  // its lines: item and value
};

}  // namespace accessories
