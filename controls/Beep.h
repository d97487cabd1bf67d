#pragma once

namespace controls {

// The standard system beep. A test installs its own seam to record it.
class BeepSeam {
public:
    virtual ~BeepSeam() = default;
    virtual void beep() = 0;
};

void beep();

// Replaces the real beep (not owned); null restores it.
void setBeepSeam(BeepSeam *seam);

}  // namespace controls
