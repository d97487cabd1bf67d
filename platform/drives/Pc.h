#pragma once

#include "platform/machine/Machine.h"

#include <QString>

#include <memory>

namespace platform {

namespace detail {
struct PcState;
}

// One simulated PC: its machine description and all the platform keeps for it while the program
// runs (the drives' backends, the folder and floppy caches, the current directories, a file run
// under way). The platform's services act on the current PC; main() makes one at start and each
// test its own. Two PCs share nothing.
class Pc {
public:
    explicit Pc(std::unique_ptr<Machine> machine);  // not null
    ~Pc();  // when this one was current, no PC is current afterwards
    Pc(const Pc &) = delete;
    Pc &operator=(const Pc &) = delete;

    void makeCurrent();
    bool isCurrent() const;

private:
    std::unique_ptr<detail::PcState> m_state;
};

// For a companion program's main(): the PC in hostFolder, or, when that is empty, the first one
// at or above the working directory, made current. On failure it writes "<program>: <problem>" to
// standard error and returns null.
std::unique_ptr<Pc> startPcForProgram(const char *program, const QString &hostFolder);

}  // namespace platform
