#pragma once

#include <cstdint>

// True when no process (not even a zombie) has this number any more.
bool process_gone(int64_t pid);

// True when the process no longer runs. An orphan may stay a zombie on POSIX, where
// nothing reaps what the killed parent left behind.
bool process_ended(int64_t pid);
