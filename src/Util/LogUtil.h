#pragma once

#include <string>

// The program log: glog writing into the "applogs" folder, set up on first use.
void log_info(const std::string& text);
void log_warning(const std::string& text);
void log_error(const std::string& text);
void flush_logs();

// Removes "*.log" files in the log folder older than the expiry (90 days).
void check_expired_logs();

// Path of the crash marker written when the process dies of a fatal signal.
std::string get_dump_log_path();
