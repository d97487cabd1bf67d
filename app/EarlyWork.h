#pragma once

#include <future>
#include <thread>

// Work the main window needs before it can show, done on a thread of its own (at the lowest
// priority, so that it never holds up the display server or the session bus) while the main thread
// starts the application and makes the window's first controls:
// - fontconfig reads its configuration and font caches, which the first font asked for would
//   otherwise wait for;
// - once the application exists, the program's pictures are drawn and Qt fills its font database.
// Whatever the main thread asks for before the thread is done it finds under way and waits for,
// so nothing is done twice.
class EarlyWork {
public:
    EarlyWork();  // starts the thread
    ~EarlyWork();

    EarlyWork(const EarlyWork &) = delete;
    EarlyWork &operator=(const EarlyWork &) = delete;

    // Once the application exists: the thread goes on to draw the pictures and fill Qt's font
    // database. finish() must then be called before the application is destroyed.
    void applicationMade();
    void finish();  // waits for the thread; without applicationMade() it stops before Qt's part

private:
    void tell(bool applicationExists);

    std::promise<bool> m_application;
    bool m_told = false;
    std::thread m_thread;
};
