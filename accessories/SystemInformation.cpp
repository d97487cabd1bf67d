#include "accessories/SystemInformation.h"

#include "accessories/SystemSummary.h"

#include <QAction>
#include <QHeaderView>
#include <QMenuBar>
#include <QSplitter>
#include <QTreeWidget>

namespace accessories {

SystemInformation::SystemInformation(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("SystemInformation"));
    setWindowTitle(QStringLiteral("Microsoft Systeminfo"));
    resize(640, 360);

    QMenu *file = menuBar()->addMenu(QStringLiteral("&Datei"));
    QAction *quit = file->addAction(QStringLiteral("&Beenden"));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    auto *splitter = new QSplitter(this);
    Categories = new QTreeWidget(splitter);
    Categories->setObjectName(QStringLiteral("Categories"));
    Categories->setHeaderHidden(true);
    Categories->setRootIsDecorated(false);
    auto *summaryItem = new QTreeWidgetItem(Categories, {QStringLiteral("Systemübersicht")});
    Categories->setCurrentItem(summaryItem);

    Summary = new QTreeWidget(splitter);
    Summary->setObjectName(QStringLiteral("Summary"));
    Summary->setRootIsDecorated(false);
    Summary->setHeaderLabels({QStringLiteral("Element"), QStringLiteral("Wert")});
    for (const SummaryLine &line : systemSummary())
        new QTreeWidgetItem(Summary, {line.item, line.value});
    Summary->resizeColumnToContents(0);
    Summary->setColumnWidth(0, Summary->columnWidth(0) + 16);  // a gap before the values
    Summary->header()->setStretchLastSection(true);

    splitter->setSizes({150, 490});
    setCentralWidget(splitter);
}

}  // namespace accessories
