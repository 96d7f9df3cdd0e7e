#pragma once

#include <cstdint>
#include <functional>
#include <string>

class JobFile;
class JobV3;

// Empties the job-file folder, so each test sees only its own jobs.
void clear_job_folder();

// A new job record (saved in the job-file folder).
JobFile* new_record(const std::string& input, const std::string& output, const std::string& quality = "95");

std::string id_of(JobV3* job);

// Polls the condition until it holds or the time is up; true when it held.
bool wait_until(const std::function<bool()>& condition, int timeout_ms);

// The encoder beside the test program, as the engine runs it.
std::string encoder_path();

// True when no process (not even a zombie) has this number any more.
bool process_gone(int64_t pid);

// Sets a file's modification time to now plus the given seconds.
void set_mtime(const std::string& path, int seconds_from_now);

// All text of the program's log files (flushed first).
std::string read_program_logs();
