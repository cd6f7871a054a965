#pragma once
// The seven thread priorities components offer, and applying one to the
// calling thread.
namespace cb::os {

enum TThreadPriority {
    tpIdle,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical
};

// The nice value a priority stands for (idle 19 ... time-critical -19).
int NiceOf(TThreadPriority Priority);
// Applies it to the calling thread; raising above normal needs privileges
// and quietly stays at normal without them.
void ApplyToCurrentThread(TThreadPriority Priority);

}  // namespace cb::os
