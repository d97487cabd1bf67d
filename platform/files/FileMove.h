#pragma once

#include <QString>

namespace platform {

// Renames a file on the same drive, replacing an existing target in one step; the file keeps its
// attributes and last-write time. Like Windows, refuses (AccessDenied) to replace a read-only or
// hidden target. Moving between drives is refused with AccessDenied (nothing changes).
[[nodiscard]] int moveFileReplacing(const QString &from, const QString &to);

}  // namespace platform
