// monitor_bench on Windows: the resident memory (the working set); the poll
// timing needs the simulator on a Linux pseudo-terminal and is measured there.

#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "MonitorBench.h"

namespace bench {

long ResidentKb() {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return static_cast<long>(counters.WorkingSetSize / 1024);
}

void PollTiming(int /*polls*/) { std::printf("poll timing: measured by the Linux build\n"); }

}  // namespace bench
