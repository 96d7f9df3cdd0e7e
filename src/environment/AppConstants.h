#pragma once

#include <string>

// The program's fixed identity, its data folders and the few process-wide values.
// Every accessor returns a fresh UTF-8 string.

std::string get_distri_id();
std::string get_current_version();
std::string get_product_name();
// The product's home page, opened from the menu and named by the expiry notice.
std::string get_official_site();

// The per-user application-data location itself (created on demand); the user
// settings file lies directly in it.
std::string get_app_data_base_dir();
// Data folders below the per-user application-data location, created on demand. The
// program log goes into "applogs".
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
