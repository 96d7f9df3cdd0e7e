#pragma once

#include <cstdint>
#include <optional>
#include <string>

// File sizes as people write them: "25MB", "1.5 GB", "700 KiB". The decimal units
// count in thousands (1 MB = 1,000,000 bytes, as storage and upload limits are
// given), the binary ones in 1024s.
class SizeText {
 public:
  // The largest size taken: far beyond any file the program makes.
  static constexpr int64_t kLargest = int64_t{1} << 50;

  // Bytes for a positive number ("25", "1.5") and a unit B, kB, MB, GB, KiB, MiB or
  // GiB (any case, blanks around allowed); none without a unit, with another one, or
  // for a size below one byte or above kLargest. The fraction of a byte is dropped.
  static std::optional<int64_t> Parse(const std::string& text);
  // "B, kB, MB, GB, KiB, MiB, GiB", for messages.
  static const char* Units();
  // The bytes in the largest decimal unit that keeps the number at least 1, with
  // at most two decimals, cut (never rounded up, so a size just under a limit
  // never reads as the limit) and without trailing zeros: "25 MB", "24.99 MB",
  // "980 kB", "512 B".
  static std::string Decimal(int64_t bytes);
  // Megabytes, as the settings dialog takes them, with the same cut: "25", "7.5".
  static std::string Megabytes(int64_t bytes);
};
