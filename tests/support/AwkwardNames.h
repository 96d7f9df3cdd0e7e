#pragma once

#include <string>
#include <vector>

// File names that a careless command line would split, expand or take for options,
// made only of characters this platform's file names allow.
struct AwkwardNames {
  std::string folder;               // a folder holding them
  std::vector<std::string> probed;  // for the probe
  std::string input;                // an encoder input
  std::string output;               // and its output
};

const AwkwardNames& awkward_names();
