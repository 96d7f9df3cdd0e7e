#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include "TestEnvironment.h"
#include "text/TxtUtil.h"

namespace {
// Makes writes beyond `bytes` fail inside the scope, as a full disk would.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    old_handler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit saved_{};
  sighandler_t old_handler_;
};
}  // namespace

TEST(TxtUtil, FailedWriteKeepsTheOldFile) {
  const std::string folder = make_temp_folder("txt-fail");
  const std::string path = folder + "/settings.config";
  ASSERT_TRUE(TxtUtil::write_text_file(path, "old content"));
  {
    FileSizeLimit limit(16);
    EXPECT_FALSE(TxtUtil::write_text_file(path, std::string(4096, 'x')));
  }
  EXPECT_EQ(TxtUtil::read_text_file(path), "old content");

  // A folder that does not exist: nothing written, nothing thrown.
  EXPECT_FALSE(TxtUtil::write_text_file(folder + "/no/such/dir/file.txt", "x"));
}
