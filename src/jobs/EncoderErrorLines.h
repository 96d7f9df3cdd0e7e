#pragma once

#include <deque>
#include <string>
#include <vector>

// Keeps, from everything the encoder prints, the lines that can tell a user why a
// run failed: the first lines that report an error (the cause comes first; the
// encoder's closing "Conversion failed!" says nothing of it) and the last few
// lines, for a failure that printed no error at all.
class EncoderErrorLines {
 public:
  void Add(const std::string& line);
  // The error lines in order, the generic closing line last. Where from appears, it
  // is replaced by to (the encoder writes to a partial file the user never sees).
  std::vector<std::string> Lines(const std::string& from = std::string(),
                                 const std::string& to = std::string()) const;
  // The last few lines, for a failure that printed no error line.
  std::vector<std::string> Tail() const;

  static bool LooksLikeError(const std::string& line);

 private:
  std::vector<std::string> errors_;
  std::string generic_;  // "Conversion failed!" and the like
  std::deque<std::string> last_;
};
