// A program a test starts must not outlive the test: a run killed by its timeout, or by the
// developer, would otherwise leave games on the X server that later tests mistake for theirs.
#pragma once

#include <csignal>

#include <sys/prctl.h>
#include <unistd.h>

namespace testsupport {

// Call in the child between fork and exec, with the parent's pid taken before the fork: the
// kernel kills the child when the parent dies. A parent already gone before the request was
// made would never be noticed, so then the child ends at once.
inline void dieWithParent(pid_t parent) {
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent) ::_exit(127);
}

}  // namespace testsupport
