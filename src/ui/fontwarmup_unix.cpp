#include "ui/fontwarmup.h"

#include <fontconfig/fontconfig.h>
#include <thread>

namespace velk {

// fontconfig keeps one configuration per process and builds it once, safely from any thread; Qt
// asks for it with FcInit() when it fills its font database and then finds it ready.
struct FontWarmup::Worker {
    std::thread thread{[] { FcInit(); }};
};

FontWarmup::FontWarmup() : m_worker(std::make_unique<Worker>()) {}

FontWarmup::~FontWarmup() {
    m_worker->thread.join();
}

} // namespace velk
