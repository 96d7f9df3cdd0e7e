#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include "platform/DetachedProcess.h"
#include "process/ChildProcess.h"

void ChildProcess::setupChildProcess() {
  // Only async-signal-safe calls here: the child of a threaded parent.
  // The signal comes when the starting thread ends; our runners keep that thread
  // waiting until the child has ended, so in practice it comes with the program's end.
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  // Out of the terminal's process group: Ctrl-C reaches this program, which stops
  // its encoders itself and records the stop, rather than each encoder failing.
  ::setpgid(0, 0);
  // Only standard input, output and error reach the program: a pipe another thread
  // of ours opened (a D-Bus connection's, another child's) would otherwise stay open
  // as long as the encoder runs, and whoever reads it would wait that long.
  DetachedProcess::closeOthersOnExec();
  // The parent may have died before the request took effect.
  if (static_cast<qint64>(::getppid()) != parentPid_) ::_exit(127);
}

void ChildProcess::prepareStart() {}

void ChildProcess::tieStartedChild() {}
