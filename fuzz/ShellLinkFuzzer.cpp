// A shortcut file as the program reads it from the autostart folder: any bytes decode or are
// refused, and a shortcut that decodes and can be written again reads back the same.
#include "fuzz/FuzzSupport.h"
#include "platform/shell/ShellLink.h"

namespace {

bool sameLink(const platform::ShellLink &a, const platform::ShellLink &b)
{
    return a.targetPath == b.targetPath && a.description == b.description
           && a.workingDirectory == b.workingDirectory && a.arguments == b.arguments
           && a.iconLocation == b.iconLocation && a.iconIndex == b.iconIndex && a.showCommand == b.showCommand
           && a.hotKey == b.hotKey;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto link = platform::decodeShellLink(fuzz::bytesOf(data, size));
    if (!link)
        return 0;
    const auto encoded = platform::encodeShellLink(*link);
    if (!encoded)
        return 0;  // a text Windows-1252 cannot hold
    const auto again = platform::decodeShellLink(*encoded);
    if (!again)
        fuzz::finding("a shortcut the program wrote does not decode");
    if (!sameLink(*link, *again))
        fuzz::finding("a shortcut written again reads back different");
    return 0;
}
