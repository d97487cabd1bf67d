#pragma once

#include <QString>

class QObject;

namespace platform {

// Help viewer commands, as the Windows help API numbers them.
namespace help {
constexpr int ShowTopic = 1;
constexpr int ShowContents = 11;
}  // namespace help

// The parts of Windows outside the program that a person sees or answers: the help viewer, the
// shell's "open". A test installs its own to record what the program asked for; the program
// installs one that also reaches the host desktop (controls/HostDesktop.h).
class Desktop {
public:
    virtual ~Desktop() = default;
    // helpFile is a Windows path; topic is ignored for ShowContents. owner is the window the help
    // is shown for.
    virtual void showHelp(const QObject *owner, const QString &helpFile, int command, int topic);
    // The shell's ShellExecute: the verb ("open", or empty for the default verb, which is "open")
    // on a document, program or address. file, parameters and directory are Windows paths or
    // texts; showCommand as for a shortcut. Files go to shellOpen, addresses to openAddress. The
    // caller does not learn whether it worked, as the program never examines the result.
    virtual void shellExecute(const QObject *owner, const QString &verb, const QString &file,
                              const QString &parameters, const QString &directory, int showCommand);

protected:
    // A web or mailto: address for the desktop's default handler. There is none without a
    // graphical desktop: the address goes nowhere.
    virtual void openAddress(const QString &address);
};

Desktop &desktop();
// Replaces the desktop (not owned); null restores the real one.
void setDesktop(Desktop *replacement);

}  // namespace platform
