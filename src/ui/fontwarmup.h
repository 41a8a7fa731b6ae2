#pragma once

#include <memory>

namespace velk {

// Loads the system's font configuration on a second thread while the application starts and
// connects to the display. Reading it is the largest single cost before the first frame, and
// the window needs it only once its first caption is measured; the two overlap on any machine
// with more than one core. Held for the life of main(): the destructor waits for the thread.
class FontWarmup {
public:
    FontWarmup();
    ~FontWarmup();
    FontWarmup(const FontWarmup&) = delete;
    FontWarmup& operator=(const FontWarmup&) = delete;

private:
    struct Worker;
    std::unique_ptr<Worker> m_worker;
};

} // namespace velk
