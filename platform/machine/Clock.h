#pragma once

#include <QDateTime>
#include <QString>

namespace platform {

QDateTime now();
// Fixes now() for tests; an invalid value returns to the real clock.
void setFixedNow(const QDateTime &moment);

// The formats of a German Windows 98.
QString shortDate(const QDateTime &moment);  // dd.MM.yy
QString longTime(const QDateTime &moment);  // HH:mm:ss

}  // namespace platform
