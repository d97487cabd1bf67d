#pragma once

#include "platform/shell/Desktop.h"

namespace controls {

// The desktop the program runs on: web and mail addresses go to the host desktop's default
// browser and mail program.
class HostDesktop : public platform::Desktop {
protected:
    void openAddress(const QString &address) override;
};

}  // namespace controls
