#include <io.h>
#include <windows.h>

#include <cstdio>

#include "cli/CliConsole.h"

#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif

void CliConsole::preparePlatform() {
  // Our texts are UTF-8 whatever the console's code page.
  SetConsoleOutputCP(CP_UTF8);
}

bool CliConsole::OutIsTerminal() {
  if (!_isatty(_fileno(stdout))) return false;
  // The bar moves the cursor with escape sequences; older consoles do not know them.
  HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (console == INVALID_HANDLE_VALUE || !GetConsoleMode(console, &mode)) return false;
  return SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}
