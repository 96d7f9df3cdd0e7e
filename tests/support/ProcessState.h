#pragma once

#include <cstdint>

// True when no process (not even a zombie) has this number any more.
bool process_gone(int64_t pid);
