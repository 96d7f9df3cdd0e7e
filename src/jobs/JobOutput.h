#pragma once

#include <string>

// The output file of a job on disk. Its name is reserved when the job is created (an
// empty file made exclusively, never through a link); the encoder writes to a hidden
// partial file beside it with the same extension, which takes the final name only
// once the encode has succeeded. So a name under which a user finds a file always
// holds a whole output or nothing the user could mistake for one.
class JobOutput {
 public:
  // Reserves wanted, or when something has that name by now, the next free
  // "_output" name for the input in the same folder. Returns the reserved path, or ""
  // with the reason in error.
  static std::string Reserve(const std::string& wanted, const std::string& inputPath, std::string* error);
  // True for a file of ours that only holds a name: a regular file (not a link) of
  // at most a line end.
  static bool IsReservation(const std::string& path);
  // Where the encoder of the job writes: ".<JobID>.part" + the final extension.
  static std::string PartialPath(const std::string& finalPath, const std::string& jobID);
  // Moves the finished partial file to its final name; false with the reason.
  static bool Finish(const std::string& partialPath, const std::string& finalPath, std::string* error);
  // Removes the partial file and, when it only holds the name, the reservation.
  static void Discard(const std::string& partialPath, const std::string& finalPath);
};
