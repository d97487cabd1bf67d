#include "controls/HostDesktop.h"

#include <QDesktopServices>
#include <QUrl>

namespace controls {

void HostDesktop::openAddress(const QString &address)
{
    (void)QDesktopServices::openUrl(QUrl(address));  // like ShellExecute's, the result goes unexamined
}

}  // namespace controls
