#pragma once

#include <QtCore/qnamespace.h>

namespace platform {

// A row's check state after it is set checked or unchecked, as in a Windows check list box:
// checking works from any state; unchecking changes only a checked row, so a greyed row
// (Qt::PartiallyChecked) stays greyed. Every list of such rows, model or control, follows it.
constexpr Qt::CheckState afterSetChecked(Qt::CheckState current, bool checked)
{
    if (checked)
        return Qt::Checked;
    return current == Qt::Checked ? Qt::Unchecked : current;
}

}  // namespace platform
