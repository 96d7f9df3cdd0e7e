#include "process/SuspendSignalWatcher.h"

// A Windows console has no request to suspend a program: nothing to watch.
struct SuspendSignalWatcher::Platform {};

SuspendSignalWatcher::SuspendSignalWatcher(QObject* parent) : QObject(parent), platform_(new Platform) {}

SuspendSignalWatcher::~SuspendSignalWatcher() = default;

void SuspendSignalWatcher::StopSelf() {}
