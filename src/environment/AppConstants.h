#pragma once

#include <string>

// The program's fixed identity, backend coordinates, data folders and the few
// process-wide values. Every accessor returns a fresh UTF-8 string.

// The interface language, "cn" or "en": the user's choice ("Language" in the user
// settings) when there is one, else the system's. Read once per run, so a new
// choice applies from the next start.
std::string get_language();
// The language a stored "Language" value stands for: "cn" and "en" as stored,
// anything else (nothing chosen) the system's.
std::string language_from_setting(const std::string& stored);
// The system's interface language: "cn" when its first user-interface language is
// Chinese (zh*), otherwise "en".
std::string language_of_system();
std::string get_distri_id();
std::string get_current_version();
std::string get_product_name();
// The product's home page, opened from the menu and named by the expiry notice.
std::string get_official_site();

// HTTPS base of the backend, without a trailing slash. KOVADLE_BACKEND_URL
// replaces the built-in one (self-hosted backends, tests) when backend_url_allowed
// accepts it; otherwise the refusal is logged and the built-in one stays.
std::string get_backend_url();
// An https URL with a host, or an http one to this machine (localhost, 127.0.0.0/8, ::1).
bool backend_url_allowed(const std::string& url);
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
// The device id is derived from the MAC address on first use (once, whichever
// thread asks first) unless one was set before.
std::string get_device_id();
void set_device_id(const std::string& device_id);
std::string get_user_id();
void set_user_id(const std::string& user_id);

// The device id of a MAC address text: its hexadecimal digits (":" and "-" left
// out) as one decimal number; "0" for no address. Longer addresses saturate at
// the largest signed 64-bit value.
std::string device_id_from_mac(const std::string& mac);
