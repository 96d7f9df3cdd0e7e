#pragma once

#include <string>

// The program's fixed identity, backend coordinates, data folders and the few
// process-wide values. Every accessor returns a fresh UTF-8 string.

std::string get_language();
std::string get_distri_id();
std::string get_current_version();
std::string get_product_name();

// HTTPS base of the backend, without a trailing slash. KOVADLE_BACKEND_URL
// replaces the built-in one (self-hosted backends, tests).
std::string get_backend_url();
std::string get_ssc_api();
std::string get_app_start_api();
std::string get_app_logs_api();
std::string get_request_salt();
std::string get_installer_info_file_name();

// Build switch for extra diagnostics; off in every shipped build.
constexpr bool is_debug_mode() { return false; }

// The per-user application-data location itself (created on demand); the user
// settings file lies directly in it.
std::string get_app_data_base_dir();
// Data folders below the per-user application-data location, created on demand.
std::string get_appjoblogs_dir();
std::string get_appjobfile_dir();
std::string get_applogs_dir();
std::string get_appdata_dir();

// Process-wide values, safe to read and write from any thread. Both start as "init".
std::string get_device_id();
void set_device_id(const std::string& device_id);
std::string get_user_id();
void set_user_id(const std::string& user_id);
