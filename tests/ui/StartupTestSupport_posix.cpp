#include "ui/StartupTestSupport.h"

// start() gives every program it starts a Chinese system (LANG=zh_CN.UTF-8).
bool starts_in_chinese() { return true; }
