#pragma once
// Processes a test starts die with it: a test that crashes or is killed at
// its time limit leaves no station, broker or flood running behind it.
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace ovk_wxtest {

// Called in the child right after fork(), with the pid the parent had
// before it: the child gets SIGKILL when the parent goes, and goes at once
// when the parent went already. The signal follows the thread that forked,
// so fork from one that lives as long as the child (the test's own).
inline void die_with_parent(pid_t parent)
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(1);
}

}  // namespace ovk_wxtest
