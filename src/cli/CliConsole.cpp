#include "cli/CliConsole.h"

#include <cstdio>
#include <iostream>
#include <streambuf>

#include "log/LogUtil.h"

namespace {

// Swallows everything. Keeps no state, so threads may write to it at once.
class NullBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type c) override { return traits_type::not_eof(c); }
  std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

void write(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace

void CliConsole::TakeOver() {
  static NullBuffer nowhere;
  std::cout.rdbuf(&nowhere);
  set_log_copy_to_stderr(false);
  preparePlatform();
}

void CliConsole::Out(const std::string& text) { write(stdout, text); }

void CliConsole::Err(const std::string& text) { write(stderr, text); }
