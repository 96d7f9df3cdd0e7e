#include "log/TraceOutput.h"

#include <cstdlib>
#include <iostream>
#include <streambuf>

#include "log/LogUtil.h"

namespace {

// Collects each thread's trace line by line: a line is logged whole, never mixed
// with another thread's. Keeps nothing shared, so threads may write at once.
class LogLineBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    put(traits_type::to_char_type(c));
    return c;
  }

  std::streamsize xsputn(const char* text, std::streamsize count) override {
    for (std::streamsize i = 0; i < count; ++i) put(text[i]);
    return count;
  }

 private:
  static std::string& pending() {
    thread_local std::string line;
    return line;
  }

  static void put(char c) {
    std::string& line = pending();
    if (c != '\n') {
      // A trace without its end of line must not grow for ever.
      if (line.size() < kLongestLine) line += c;
      return;
    }
    if (TraceOutput::IsErrorTrace(line)) log_info(line, "trace", 0);
    line.clear();
  }

  static constexpr size_t kLongestLine = 64 * 1024;
};

std::streambuf*& terminal_buffer() {
  static std::streambuf* original = nullptr;
  return original;
}

}  // namespace

const char* const TraceOutput::kSwitch = "KOVADLE_TRACE";

bool TraceOutput::Requested() {
  const char* value = std::getenv(kSwitch);
  return value != nullptr && value[0] != '\0' && std::string(value) != "0";
}

void TraceOutput::Apply() { ToTerminal(Requested()); }

void TraceOutput::ToTerminal(bool shown) {
  static LogLineBuffer into_log;
  std::streambuf*& original = terminal_buffer();
  if (original == nullptr) original = std::cout.rdbuf();
  std::cout.flush();
  std::cout.rdbuf(shown ? original : &into_log);
  if (shown) {
    set_log_copy_to_stderr(true);
  } else {
    set_log_warnings_to_stderr();
  }
}

bool TraceOutput::IsErrorTrace(const std::string& line) { return line.compare(0, 5, "Error") == 0; }
