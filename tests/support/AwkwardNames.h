#pragma once

#include <string>
#include <vector>

// File names that a careless command line would split, expand or take for options,
// or a careless window for markup, made only of characters this platform's file
// names allow.
struct AwkwardNames {
  std::string folder;               // a folder holding them
  std::vector<std::string> probed;  // for the probe
  std::string input;                // an encoder input
  std::string output;               // and its output
  // Text rich text would take for markup, as a path below a folder; on Windows,
  // whose names hold no "<" or ">", made of entities.
  std::string markup;
};

const AwkwardNames& awkward_names();
