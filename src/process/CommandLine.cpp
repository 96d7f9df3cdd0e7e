#include "process/CommandLine.h"

#include <cstddef>
#include <utility>

namespace {

std::string quoted(const std::string& path) {
  std::string text = "\"";
  for (char c : path) text += c == '"' ? std::string("\"\"\"") : std::string(1, c);
  return text + '"';
}

}  // namespace

CommandLine::CommandLine(std::string program) : program_(std::move(program)) {}

CommandLine& CommandLine::Add(std::string argument) {
  arguments_.push_back(std::move(argument));
  quoted_.push_back(false);
  return *this;
}

CommandLine& CommandLine::Add(std::initializer_list<const char*> arguments) {
  for (const char* argument : arguments) Add(argument);
  return *this;
}

CommandLine& CommandLine::AddPath(std::string path) {
  arguments_.push_back(std::move(path));
  quoted_.push_back(true);
  return *this;
}

bool CommandLine::ReplaceLastArgument(const std::string& from, const std::string& to) {
  if (arguments_.empty() || arguments_.back() != from) return false;
  arguments_.back() = to;
  return true;
}

int CommandLine::ReplaceEvery(const std::string& from, const std::string& to) {
  int replaced = 0;
  for (std::string& argument : arguments_) {
    if (argument != from) continue;
    argument = to;
    ++replaced;
  }
  return replaced;
}

bool CommandLine::ReplaceValueOf(const std::string& option, const std::string& value) {
  for (size_t i = 0; i + 1 < arguments_.size(); ++i) {
    if (arguments_[i] != option) continue;
    arguments_[i + 1] = value;
    return true;
  }
  return false;
}

void CommandLine::InsertBeforeLast(std::initializer_list<std::string> options) {
  const size_t at = arguments_.empty() ? 0 : arguments_.size() - 1;
  arguments_.insert(arguments_.begin() + static_cast<std::ptrdiff_t>(at), options.begin(), options.end());
  quoted_.insert(quoted_.begin() + static_cast<std::ptrdiff_t>(at), options.size(), false);
}

std::string CommandLine::ToString() const {
  std::string text = quoted(program_);
  for (size_t i = 0; i < arguments_.size(); ++i)
    text += " " + (quoted_[i] ? quoted(arguments_[i]) : arguments_[i]);
  return text;
}
