#pragma once

#include <cstdint>
#include <string>

// Whole-file text with a UTF-8 byte-order mark, line appending and code-page conversion.
class TxtUtil {
 public:
  // The program's own text files are a few kilobytes; anything larger is not one.
  static constexpr int64_t kMaxReadBytes = 1 << 20;

  // The file's content after its first three bytes, up to the first NUL; empty when
  // the file cannot be read. Only regular files (links followed) of at most
  // kMaxReadBytes are read; a FIFO, device or larger file is skipped and logged.
  static std::string read_text_file(const std::string& path);
  // Replaces the file with EF BB BF and the text (up to its first NUL). The new
  // content goes to a temporary file in the same folder that is renamed over the
  // old one, so a crash or a full disk never leaves a truncated file. Returns
  // whether the new content is in place; on failure the old file is untouched and
  // error (when given) receives the system's reason.
  static bool write_text_file(const std::string& path, const std::string& text, std::string* error = nullptr);
  // Appends the text and a line end; prints "Open file failed:" when it cannot.
  static void append_line(const std::string& path, const std::string& text);

  // Conversion between UTF-8 and the system's 8-bit code page (UTF-8 on Linux).
  static std::string utf8_to_ansi(const std::string& text);
  static std::string ansi_to_utf8(const std::string& text);

 private:
  enum class FileRead { Ok, Missing, Unreadable, NotRegular, TooLarge };

  // Reads a whole regular file (links followed) of at most maxBytes into bytes. A
  // FIFO, device or folder is refused before it is opened, so the read never blocks
  // and never runs on without end (TxtUtil_posix.cpp, TxtUtil_win.cpp).
  static FileRead readRegularFile(const std::string& path, int64_t maxBytes, std::string& bytes);
};
