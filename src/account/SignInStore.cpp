#include "account/SignInStore.h"

#include <atomic>

#include "environment/AppConstants.h"
#include "log/LogUtil.h"
#include "platform/OSUtil.h"
#include "text/SimpleJson.h"

namespace {
const char* const kFileName = "signin.dat";
const char* const kUserIdKey = "UserID";
const char* const kDisplayNameKey = "DisplayName";
const char* const kNobody = "init";

// Read by the support box and the reports' threads, written on the interface thread.
std::atomic<bool> g_signed_in{false};
}  // namespace

std::string SignInStore::file_path() { return OSUtil::pathJoin(get_appdata_dir(), kFileName); }

std::optional<SignedInUser> SignInStore::restore() {
  const std::string path = file_path();
  if (!OSUtil::isFileExist(path)) return std::nullopt;
  SimpleJson json;
  json.load_file(path);
  SignedInUser user;
  try {
    user.user_id = json.get(kUserIdKey);
    user.display_name = json.get(kDisplayNameKey);
  } catch (const std::string& error) {
    log_info("SignInStore::restore, ignored unreadable sign-in file:" + error);
    return std::nullopt;
  }
  if (user.user_id.empty() || user.user_id == kNobody) return std::nullopt;
  set_user_id(user.user_id);
  g_signed_in = true;
  log_info("SignInStore::restore, signed in user:" + user.user_id);
  return user;
}

bool SignInStore::save(const SignedInUser& user) {
  SimpleJson json;
  json.parse("{}");
  json.set(kUserIdKey, user.user_id);
  json.set(kDisplayNameKey, user.display_name);
  if (!json.save_file(file_path())) return false;
  set_user_id(user.user_id);
  g_signed_in = true;
  return true;
}

void SignInStore::sign_out() {
  OSUtil::removeFile(file_path());
  set_user_id(kNobody);
  g_signed_in = false;
}

bool SignInStore::signed_in() { return g_signed_in; }
