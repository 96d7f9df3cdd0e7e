#include "StoredJobFiles.h"

// 50,000 would make a slow test on a shared machine and catch no more.
int many_stored_jobs() { return 20000; }
