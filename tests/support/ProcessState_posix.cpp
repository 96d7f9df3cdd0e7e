#include <signal.h>

#include <cerrno>

#include "ProcessState.h"

bool process_gone(int64_t pid) { return ::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH; }
