#pragma once

#include <string>

// Where the backend is and what its requests are called.

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
// The record of a downloaded installer, in the "appdata" folder.
std::string get_installer_info_file_name();
