#pragma once

#include <memory>
#include <string>

class QTemporaryDir;

// A job's own temporary folder for the log its analysis run writes for the run that
// makes the output (a few kilobytes a frame for a large picture), made only the
// user can enter and removed with everything in it when the object goes: at the
// end of the run, whether it completed, failed or was stopped. What a killed
// program left is removed the next time the job is taken up.
class PassLogFolder {
 public:
  explicit PassLogFolder(const std::string& jobID);
  ~PassLogFolder();
  PassLogFolder(const PassLogFolder&) = delete;
  PassLogFolder& operator=(const PassLogFolder&) = delete;

  // False when the folder could not be made; error says why.
  bool Valid(std::string* error) const;
  std::string Path() const;
  // The log's path without the extensions the encoder adds.
  std::string Prefix() const;

  // Removes the folders of the job that a killed run left in the temporary folder;
  // how many went.
  static int RemoveLeftovers(const std::string& jobID);

 private:
  std::unique_ptr<QTemporaryDir> folder_;
};
