#pragma once

namespace controls {

// Lets assistive technology see a CheckListBox as Qt's own list views are seen: a list whose items
// are its rows, each with its text and whether it is checked, selected and current. Installed once
// by the first list made.
void installCheckListBoxAccessible();

}  // namespace controls
