#pragma once

#include <string>

// Small rules on single lines of the probe's INI report.
namespace probe_lines {

// A line whose key is exactly "rotate" (an old-style tag) or "rotation" (a
// display-matrix angle); "xrotate=" or a value holding "rotate=" is neither.
bool isRotateTag(const std::string& line);
bool isRotationAngle(const std::string& line);

// The disposition line that marks a stream as an attached (cover) picture.
bool isAttachedPicture(const std::string& line);

// The stream number of a stream section header ("[streams.stream.3]",
// "[streams.stream.3.tags]" give "3"); empty for any other line.
std::string streamOfHeader(const std::string& line);

// True for a section header line ("[format]", "[streams.stream.0.tags]").
bool isSectionHeader(const std::string& line);

// The line with every occurrence of marker removed, trimmed of spaces.
std::string valueAfter(const std::string& line, const std::string& marker);

// A "key=value" line split at its first '=' the probe did not escape, with the
// probe's INI escapes (\=, \:, \n, \x0001, ...) undone in both halves;
// false for a line without one (a section header).
bool splitEntry(const std::string& line, std::string& key, std::string& value);

// A display-matrix angle ("90", "-90", "-90.00") as whole degrees in 0..359;
// false when the text is not a number.
bool normalizedDegrees(const std::string& text, int& degrees);

}  // namespace probe_lines
