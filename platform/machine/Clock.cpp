#include "platform/machine/Clock.h"

namespace platform {

namespace {

QDateTime &fixedNow()
{
    static QDateTime moment;
    return moment;
}

}  // namespace

QDateTime now()
{
    return fixedNow().isValid() ? fixedNow() : QDateTime::currentDateTime();
}

void setFixedNow(const QDateTime &moment)
{
    fixedNow() = moment;
}

QString shortDate(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("dd.MM.yy"));
}

QString longTime(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("HH:mm:ss"));
}

}  // namespace platform
