#include "platform/os/ThreadPriority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace cb::os {

int NiceOf(TThreadPriority Priority) {
    switch (Priority) {
    case tpIdle:
        return 19;
    case tpLowest:
        return 10;
    case tpLower:
        return 5;
    case tpNormal:
        return 0;
    case tpHigher:
        return -5;
    case tpHighest:
        return -10;
    case tpTimeCritical:
        return -19;
    }
    return 0;
}

void ApplyToCurrentThread(TThreadPriority Priority) {
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), NiceOf(Priority));
}

}  // namespace cb::os
