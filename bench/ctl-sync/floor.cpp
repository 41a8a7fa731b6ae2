// The floor for the minute sync: the least a program can do on this machine. It waits for each
// whole minute with clock_nanosleep(TIMER_ABSTIME) and writes one byte to the device, MINUTES
// times.
//
//   bench-sync-floor DEVICE MINUTES

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    const int minutes = argc == 3 ? std::atoi(argv[2]) : 0;
    const int fd = argc == 3 ? open(argv[1], O_WRONLY | O_NOCTTY) : -1;
    if (minutes <= 0 || fd < 0) {
        std::fprintf(stderr, "usage: bench-sync-floor DEVICE MINUTES\n");
        return 2;
    }
    for (int minute = 0; minute < minutes; ++minute) {
        timespec due{};
        clock_gettime(CLOCK_REALTIME, &due);
        due.tv_sec = (due.tv_sec / 60 + 1) * 60;
        due.tv_nsec = 0;
        while (clock_nanosleep(CLOCK_REALTIME, TIMER_ABSTIME, &due, nullptr) != 0) {
        }
        if (write(fd, "F", 1) != 1)
            return 1;
    }
    close(fd);
    return 0;
}
