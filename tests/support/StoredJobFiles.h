#pragma once

#include <string>
#include <vector>

// A job file as an earlier run of the program left it.
struct StoredJobFile {
  enum Kind { Interrupted, Stopped, Failed, Completed, DeletedCompleted, DeletedStopped };
  std::string jobID;
  std::string input;
  std::string output;
  Kind kind = Interrupted;
};

// Writes the job files straight into the folder, in the order given and a second
// apart (the order they are listed in): thousands of them, where a save through the
// program (lock, synced atomic rename) would take minutes.
void write_job_files(const std::string& folder, const std::vector<StoredJobFile>& jobs);

// "<n>" as a JobID of the usual shape.
std::string numbered_job_id(int n);

// How many stored jobs a window test opens on: thousands, as many as the platform's
// test run can read in reasonable time.
int many_stored_jobs();
