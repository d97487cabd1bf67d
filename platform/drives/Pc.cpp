#include "platform/drives/Pc.h"

#include "platform/drives/detail/PcState.h"

#include <QDir>

#include <cstdio>

namespace platform {

namespace {

// Not an owner: main() or the test owns the PC.
detail::PcState *current = nullptr;

}  // namespace

detail::PcState::PcState(std::unique_ptr<Machine> description)
    : machine(std::move(description)),
      hostFolderBackend(makeHostFolderBackend()),
      fatImageBackend(makeFatImageBackend())
{
    if (!machine)
        qFatal("platform: a PC needs a machine");
}

void detail::PcState::restart(std::unique_ptr<Machine> description)
{
    machine = std::move(description);
    folders.forgetAll();
    fatVolumes = FatVolumeCache();
    directories = CurrentDirectories();
}

detail::PcState &detail::currentPcState()
{
    if (!current)
        qFatal("platform: no PC is current");
    return *current;
}

detail::DriveBackend &detail::backendOf(const Drive &drive)
{
    PcState &pc = currentPcState();
    return drive.isImage() ? *pc.fatImageBackend : *pc.hostFolderBackend;
}

Pc::Pc(std::unique_ptr<Machine> machine)
    : m_state(std::make_unique<detail::PcState>(std::move(machine)))
{}

Pc::~Pc()
{
    if (isCurrent())
        current = nullptr;
}

void Pc::makeCurrent()
{
    current = m_state.get();
}

bool Pc::isCurrent() const
{
    return current == m_state.get();
}

Machine &machine()
{
    return *detail::currentPcState().machine;
}

bool hasMachine()
{
    return current != nullptr;
}

void setMachine(std::unique_ptr<Machine> machine)
{
    if (!machine) {
        current = nullptr;
        return;
    }
    detail::currentPcState().restart(std::move(machine));
}

std::unique_ptr<Pc> startPcForProgram(const char *program, const QString &hostFolder)
{
    const QString folder = hostFolder.isEmpty() ? Machine::findFolder(QDir::currentPath()) : hostFolder;
    if (folder.isEmpty()) {
        std::fprintf(stderr, "%s: no simulated PC found (no machine.ini in %s or above)\n", program,
                     qPrintable(QDir::currentPath()));
        return nullptr;
    }
    QString error;
    auto loaded = Machine::load(folder, &error);
    if (!loaded) {
        std::fprintf(stderr, "%s: %s\n", program, qPrintable(error));
        return nullptr;
    }
    auto pc = std::make_unique<Pc>(std::move(loaded));
    pc->makeCurrent();
    return pc;
}

}  // namespace platform
