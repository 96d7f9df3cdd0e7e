#include "StoredJobFiles.h"

// Windows' tests run under Wine, which looks up a name that is not there (each job's
// lock file) by reading the whole folder: a load costs the square of the job count,
// minutes for 20,000. Windows itself finds a name in a folder by its index.
int many_stored_jobs() { return 4000; }
