#include "platform/files/FileRun.h"

#include "platform/drives/detail/PcState.h"

namespace platform {

FileRun::FileRun()
    : m_pc(&detail::currentPcState())
{
    m_pc->folders.beginRun();
}

FileRun::~FileRun()
{
    // Reached without finish() only when the work ended by an exception, which is what gets
    // reported; the records are still written as far as they can be.
    if (!m_finished)
        (void)finish();
}

int FileRun::finish()
{
    if (m_finished)
        return dos::Ok;
    m_finished = true;
    return m_pc->folders.endRun();
}

}  // namespace platform
