#pragma once

#include <cstdint>
#include <string>

class ExclusiveFile;

// The output file of a job on disk. A job holds its output's name from the moment it
// is created with a hidden reservation beside it (OSUtil::outputReservationPath),
// made create-exclusive and naming the job, so that two jobs of any Kovadle process
// never pick one name; the name itself stays free. The encoder writes to a hidden
// partial file beside it with the same extension, made by the job itself; the
// partial takes the final name only once it is whole, and never over anything that
// has the name by then. So a name under which a user finds a file holds a whole
// output or nothing Kovadle made, and nothing Kovadle did not make is removed.
class JobOutput {
 public:
  // Reserves wanted for the job or, when it is taken (a file, a link, another job's
  // reservation, the input itself), the next free "_output" name for the input in the
  // same folder. Returns the reserved path, or "" with the reason in error.
  static std::string Reserve(const std::string& wanted, const std::string& inputPath,
                             const std::string& jobID, std::string* error);
  // The reservation of the name is the job's.
  static bool IsReservedFor(const std::string& finalPath, const std::string& jobID);
  // Gives up the job's reservation of the name; another job's is left alone.
  static void Release(const std::string& finalPath, const std::string& jobID);

  // Where the encoder of the job writes: ".<JobID>.part" + the final extension.
  static std::string PartialPath(const std::string& finalPath, const std::string& jobID);
  // Gives the whole partial file its final name without replacing anything; when
  // something has the name by now, the next free name (reserved first). Returns the
  // name it took and lets the reservations go; "" with the reason when the move
  // failed or the partial name no longer leads to the file the job made.
  static std::string TakeFinalName(const ExclusiveFile& partial, const std::string& finalPath,
                                   const std::string& inputPath, const std::string& jobID,
                                   std::string* error);
  // What a run cut short left: the job's reservation and, with partialToo, a regular
  // file at the partial name (never what a link there leads to).
  static void RemoveLeftovers(const std::string& finalPath, const std::string& jobID, bool partialToo);

  // What earlier versions left under a waiting job's final name: a regular file
  // holding a line end and nothing else.
  static bool IsOldPlaceholder(const std::string& path);

  // A regular file's size and modification time, to tell later whether a file is
  // still the one the job made; false for anything else.
  static bool IdentityOf(const std::string& path, int64_t* size, int64_t* modifiedMs);
};
