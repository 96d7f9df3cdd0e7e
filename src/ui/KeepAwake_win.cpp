#include <windows.h>

#include "ui/KeepAwake.h"

struct KeepAwake::Impl {};

KeepAwake::KeepAwake() { SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED); }

KeepAwake::~KeepAwake() { SetThreadExecutionState(ES_CONTINUOUS); }
