#include "restore/core/TShellLink.h"

#include "platform/drives/Files.h"
#include "platform/shell/ShellLink.h"

namespace {

// The shell hands texts over in buffers of 256 characters, the last one the terminating zero.
constexpr qsizetype BufferCharacters = 256;

QString fromBuffer(const QString &text)
{
    return text.left(BufferCharacters - 1);
}

quint32 showCommandOf(TShellLink::TWindowState state)
{
    switch (state) {
    case TShellLink::TWindowState::wsMinimized:
        return platform::showCommand::Minimized;
    case TShellLink::TWindowState::wsMaximized:
        return platform::showCommand::Maximized;
    case TShellLink::TWindowState::wsNormal:
        break;
    }
    return platform::showCommand::Normal;
}

}  // namespace

TShellLink::TShellLink(QObject *owner)
    : QObject(owner)
{}

void TShellLink::Write()
{
    platform::ShellLink link;
    link.arguments = Arguments;
    link.description = Description;
    link.hotKey = HotKey;
    if (!IconFile.isEmpty()) {
        link.iconLocation = IconFile;
        link.iconIndex = qint32(IconIndex);
    }
    link.targetPath = ProgramFile;
    link.showCommand = showCommandOf(WindowState);
    if (WorkingDirectory.isEmpty()) {
        const QString name = platform::fileNamePart(ProgramFile);
        WorkingDirectory = ProgramFile.left(ProgramFile.size() - name.size());
    }
    link.workingDirectory = WorkingDirectory;
    // Unreported, as the shell's IPersistFile::Save result goes unexamined.
    (void)platform::writeShellLink(LinkFile, link);
}

void TShellLink::Read()
{
    // A file that cannot be loaded leaves an empty link object, whose getters give empty texts,
    // zero numbers and the normal show command.
    const auto read = platform::readShellLink(LinkFile);
    const platform::ShellLink link = read.ok() ? read.value : platform::ShellLink{};
    Arguments = fromBuffer(link.arguments);
    Description = fromBuffer(link.description);
    HotKey = link.hotKey;
    IconFile = fromBuffer(link.iconLocation);
    IconIndex = quint32(link.iconIndex);
    ProgramFile = fromBuffer(link.targetPath);
    switch (link.showCommand) {
    case platform::showCommand::Normal:
        WindowState = TWindowState::wsNormal;
        break;
    case platform::showCommand::Minimized:
        WindowState = TWindowState::wsMinimized;
        break;
    case platform::showCommand::Maximized:
        WindowState = TWindowState::wsMaximized;
        break;
    default:
        break;  // another show command leaves the state as it was
    }
    WorkingDirectory = fromBuffer(link.workingDirectory);
}
