#pragma once

// Inside the platform layer only.
namespace platform::detail {

// Forgets the current directories, for a new machine; the next question works them out afresh.
void resetCurrentDirectories();

}  // namespace platform::detail
