#pragma once

#include <string>

// Small rules on single lines of the probe's INI report.
namespace probe_lines {

// An old-style "rotate=" tag or a display-matrix "rotation=" line.
bool isRotationLine(const std::string& line);

// The line with every occurrence of marker removed, trimmed of spaces.
std::string valueAfter(const std::string& line, const std::string& marker);

// A display-matrix angle ("90", "-90", "-90.00") as whole degrees in 0..359;
// false when the text is not a number.
bool normalizedDegrees(const std::string& text, int& degrees);

}  // namespace probe_lines
