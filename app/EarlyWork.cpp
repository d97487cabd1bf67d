#include "app/EarlyWork.h"

#include "app/Pictures.h"

#include <QFontDatabase>

#include <fontconfig/fontconfig.h>

#include <system_error>

#include <sys/resource.h>
#include <unistd.h>

EarlyWork::EarlyWork()
{
    try {
        m_thread = std::thread([application = m_application.get_future()]() mutable {
            // The display server and the session bus answer the main thread's start-up requests:
            // at the lowest priority this thread gives way to them at once. Should the main thread
            // need its work before it is done, the main thread waits and leaves it a core.
            (void)::setpriority(PRIO_PROCESS, ::gettid(), 19);
            // Safe to race: fontconfig's set-up and Qt's font database each let a second caller
            // wait for the first one's work.
            FcInit();
            // A painter takes the application's font, so the pictures wait for the application too.
            // They come first: the window asks for its icon at once, for a font only later.
            if (application.get()) {
                pictures::drawAhead();
                QFontDatabase::families();
            }
        });
    } catch (const std::system_error &) {
        // No thread to spare: the main thread does all of it when it first needs it.
    }
}

EarlyWork::~EarlyWork()
{
    finish();
}

void EarlyWork::applicationMade()
{
    tell(true);
}

void EarlyWork::finish()
{
    tell(false);
    if (m_thread.joinable())
        m_thread.join();
}

void EarlyWork::tell(bool applicationExists)
{
    if (m_told)
        return;
    m_told = true;
    m_application.set_value(applicationExists);
}
