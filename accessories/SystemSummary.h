#pragma once

#include <QList>
#include <QString>

namespace accessories {

// One line of the system summary: what it is about and its value.
struct SummaryLine {
    QString item;
    QString value;
};

// The simulated PC as the system information tool sums it up: the operating system, the Windows
// directory and each drive with its kind, size and free space or, for a floppy, its disk's state.
QList<SummaryLine> systemSummary();

// Bytes as Windows writes a size: "1,5 GB", "700 MB", "12 KB", "0 Byte".
QString sizeText(qint64 bytes);

}  // namespace accessories
