#pragma once

#include <optional>
#include <string>

struct SignedInUser {
  std::string user_id;
  std::string display_name;
};

// The signed-in user kept across restarts in a small file in the data folder.
// Restoring or saving also sets the process-wide user id the reports carry.
class SignInStore {
 public:
  static std::string file_path();

  // The saved user, or nothing when nobody is signed in (no file, an unreadable
  // file or one without a user id); the user id is left alone then.
  static std::optional<SignedInUser> restore();

  static bool save(const SignedInUser& user);

  // Forgets the saved user; the user id goes back to "init".
  static void sign_out();

  // Whether a user is signed in this run (restored, or saved since).
  static bool signed_in();
};
