#include "dos/core/Messages.h"

#include "platform/text/DosError.h"

namespace dos::message {

QString forError(int dosError)
{
    namespace code = platform::dos;
    switch (dosError) {
    case code::FileNotFound:
        return FileNotFound;
    case code::PathNotFound:
        return PathNotFound;
    case code::AccessDenied:
        return AccessDenied;
    case code::InvalidDrive:
        return InvalidDrive;
    case code::WriteProtected:
        return WriteProtected;
    case code::NotReady:
        return NotReady;
    case code::DiskFull:
        return DiskFull;
    case code::TimedOut:
        return platform::fileErrorText(dosError);
    default:
        return GeneralFailure;
    }
}

}  // namespace dos::message
