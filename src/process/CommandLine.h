#pragma once

#include <initializer_list>
#include <string>
#include <vector>

// A program and its arguments, handed to the system as they are: no shell, no
// splitting, so a file name is always exactly one argument. Its text form is for
// logs and traces only; there the program and every file name stand in double
// quotes (a double quote inside one written as three).
class CommandLine {
 public:
  CommandLine() = default;
  explicit CommandLine(std::string program);

  // Options and their values, written as they are in the text form.
  CommandLine& Add(std::string argument);
  CommandLine& Add(std::initializer_list<const char*> arguments);
  // A file name, quoted in the text form.
  CommandLine& AddPath(std::string path);

  const std::string& Program() const { return program_; }
  const std::vector<std::string>& Arguments() const { return arguments_; }
  bool Empty() const { return program_.empty(); }

  // Puts to in the place of a last argument that reads from; false when it does not.
  bool ReplaceLastArgument(const std::string& from, const std::string& to);
  // Puts to in the place of every argument that reads from; how many there were.
  int ReplaceEvery(const std::string& from, const std::string& to);
  // Puts value in the place of the argument after the first option; false when the
  // option is not there or is last.
  bool ReplaceValueOf(const std::string& option, const std::string& value);
  // Options placed just before the last argument (an output's own options).
  void InsertBeforeLast(std::initializer_list<std::string> options);

  std::string ToString() const;

  bool operator==(const CommandLine& other) const {
    return program_ == other.program_ && arguments_ == other.arguments_ && quoted_ == other.quoted_;
  }

 private:
  std::string program_;
  std::vector<std::string> arguments_;
  std::vector<bool> quoted_;  // one per argument
};
