#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QStandardPaths>
#include <vector>

#include "platform/DetachedProcess.h"

void DetachedProcess::closeOthersOnExec() {
  if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) == 0) return;
  // Kernels before 5.11: one call per possible descriptor.
  struct rlimit limit {};
  const long last = ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
                        ? static_cast<long>(limit.rlim_cur)
                        : 65536;
  for (int fd = 3; fd < last; ++fd) {
    const int flags = ::fcntl(fd, F_GETFD);
    if (flags >= 0 && (flags & FD_CLOEXEC) == 0) ::fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
  }
}

bool DetachedProcess::start(const QString& program, const QStringList& arguments) {
  const QString path = program.contains('/') ? program : QStandardPaths::findExecutable(program);
  if (path.isEmpty()) return false;
  // Everything the child uses is made before the fork: in the child of a threaded
  // process only async-signal-safe calls are allowed.
  std::vector<QByteArray> texts{QFile::encodeName(path)};
  for (const QString& argument : arguments) texts.push_back(QFile::encodeName(argument));
  std::vector<char*> argv;
  for (QByteArray& text : texts) argv.push_back(text.data());
  argv.push_back(nullptr);
  // The grandchild reports a failed exec here; a successful one closes it unwritten.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return false;

  const pid_t child = ::fork();
  if (child == 0) {
    ::setsid();
    // Its parent ends at once, so nothing of ours has to reap it later.
    const pid_t grandchild = ::fork();
    if (grandchild != 0) ::_exit(grandchild < 0 ? 1 : 0);
    closeOthersOnExec();
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::signal(SIGPIPE, SIG_DFL);
    ::execv(argv[0], argv.data());
    const int error = errno;
    if (::write(report[1], &error, sizeof(error)) < 0) {
      // Nobody to tell.
    }
    ::_exit(127);
  }
  ::close(report[1]);
  if (child < 0) {
    ::close(report[0]);
    return false;
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got = 0;
  do {
    got = ::read(report[0], &error, sizeof(error));
  } while (got < 0 && errno == EINTR);
  ::close(report[0]);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 && got == 0;
}
