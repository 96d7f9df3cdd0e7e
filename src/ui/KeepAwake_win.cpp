#include <windows.h>

#include "log/LogUtil.h"
#include "ui/KeepAwake.h"

struct KeepAwake::Impl {};

// The request belongs to the calling thread, so the object is made and dropped on the
// interface thread, which lives as long as the program.
KeepAwake::KeepAwake() {
  if (SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED) == 0) {
    log_info("KeepAwake, SetThreadExecutionState failed, sleep is not prevented.");
  } else {
    log_info("KeepAwake, sleep prevented through SetThreadExecutionState.");
  }
}

KeepAwake::~KeepAwake() { SetThreadExecutionState(ES_CONTINUOUS); }
