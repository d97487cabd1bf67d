#pragma once

#include <QString>

namespace platform {

// The program's messages break their lines with LF followed by CR, as they always have; the
// message dialog shows that (like CR LF) as one line break.
inline const QString LineBreak = QStringLiteral("\n\r");

}  // namespace platform
