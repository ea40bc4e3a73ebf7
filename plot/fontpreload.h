#pragma once

#include <future>
#include <thread>

// Sets up the system's fonts on a thread of its own, from before the GUI application
// exists: reading the font configuration and listing the installed fonts take several
// milliseconds that the first chart text would otherwise wait for, and meanwhile the
// program reads its input. Whoever draws calls wait() first, so that nothing asks the font
// system for anything while it is being set up. One at a time; the thread joins when the
// preload goes.
class FontPreload
{
public:
    // Starts reading the font configuration at once.
    FontPreload();
    ~FontPreload();
    FontPreload(const FontPreload &) = delete;
    FontPreload &operator=(const FontPreload &) = delete;

    // The GUI application exists: the installed fonts can be listed.
    void applicationReady();
    // Returns when the fonts are set up; at once when there is no preload.
    static void wait();

private:
    std::promise<bool> m_application;
    bool m_applicationTold = false;
    std::shared_future<void> m_done;
    std::jthread m_thread;
};
