#include <gtest/gtest.h>
#include <windows.h>

#include "process/ChildProcess.h"

// A tied child is in the kill-on-close job from its first instruction: it was started
// suspended, so it runs at all only once it is in the job; and it does run.
TEST(ChildProcessWindows, ATiedChildRunsAndRunsOnlyInsideTheJob) {
  ChildProcess child;
  // Waits for a line on standard input, which stays open until the test closes it.
  ASSERT_TRUE(child.startTied("cmd.exe", {"/d", "/q", "/c", "set /p line= & echo got %line%"}, 30000));
  HANDLE handle = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, DWORD(child.processId()));
  ASSERT_NE(handle, nullptr) << GetLastError();
  BOOL inJob = FALSE;
  EXPECT_TRUE(IsProcessInJob(handle, nullptr, &inJob)) << GetLastError();
  EXPECT_TRUE(inJob);
  CloseHandle(handle);

  child.write("hello\r\n");
  child.closeWriteChannel();
  ASSERT_TRUE(child.waitForFinished(30000)) << "the child was left suspended";
  EXPECT_EQ(child.exitCode(), 0);
  EXPECT_TRUE(child.readAllStandardOutput().contains("got hello"));
}
