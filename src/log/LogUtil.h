#pragma once

#include <string>

// The program log: glog writing into the folder the log folder source names (the
// "applogs" data folder, see environment/AppConstants.cpp), set up on first use.
// Every line names the caller's file and line (filled in by the defaults), and
// reaches the file at once. Without a source, lines go to standard error only.
void log_info(const std::string& text, const char* file = __builtin_FILE(), int line = __builtin_LINE());
void log_warning(const std::string& text, const char* file = __builtin_FILE(), int line = __builtin_LINE());
void log_error(const std::string& text, const char* file = __builtin_FILE(), int line = __builtin_LINE());
void flush_logs();
// Warnings and errors are copied to standard error; a program may have every line
// copied (tracing) or none (the command-line front end keeps standard error for its
// own messages), and go back to warnings only.
void set_log_copy_to_stderr(bool copy);
void set_log_warnings_to_stderr();

// Where the log goes: asked once, by the first line logged. The folder must exist.
void set_log_folder_source(std::string (*folder)());

// Removes "*.log" files in the log folder older than the expiry (90 days).
void check_expired_logs();

// Path of the crash marker written when the process dies of a fatal signal.
std::string get_dump_log_path();

// Build switch for extra diagnostics; off in every shipped build.
constexpr bool is_debug_mode() { return false; }
