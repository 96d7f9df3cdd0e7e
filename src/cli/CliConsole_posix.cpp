#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "cli/CliConsole.h"

void CliConsole::preparePlatform() {}

bool CliConsole::OutIsTerminal() {
  if (::isatty(STDOUT_FILENO) != 1) return false;
  const char* term = std::getenv("TERM");
  return term != nullptr && std::strcmp(term, "dumb") != 0;
}
