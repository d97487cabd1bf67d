#pragma once

// The hourglass over the whole program for as long as the object lives, or until end(). Whatever
// ends the work, a thrown error included, the arrow comes back.
namespace controls {

class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

    // Brings the arrow back before the scope ends, for a message that follows the work.
    void end();

private:
    bool m_on = true;
};

}  // namespace controls
