#pragma once

#include "platform/text/DosError.h"

namespace platform {

namespace detail {
struct PcState;
}

// A stretch of file work on the current PC done at the disk's speed, such as a backup run. While
// the object lives, every folder the work touches is listed once and kept in memory, so that a
// path costs no look at the disk, and the attribute records a folder needs are written once, when the run finishes:
// to a temporary file that then takes the old records' place, so that a run cut short leaves the
// old records intact. Changes other programs make to those folders meanwhile go unseen.
class FileRun {
public:
    FileRun();
    ~FileRun();  // finishes a run that finish() did not
    FileRun(const FileRun &) = delete;
    FileRun &operator=(const FileRun &) = delete;

    // Writes the records; the first error. The folders are looked at afresh afterwards.
    [[nodiscard]] int finish();

private:
    detail::PcState *m_pc;  // the run stays with the PC it began on
    bool m_finished = false;
};

}  // namespace platform
