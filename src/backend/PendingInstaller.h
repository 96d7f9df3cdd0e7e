#pragma once

#include <functional>
#include <optional>
#include <string>

// A verified installer of a newer version waiting in the data folder, with its
// record "installer_info.dat" ("<version>,<force>"). At start the pair is offered
// when the recorded version is newer than the running one and removed otherwise;
// without a record, a left-over installer of the running version is removed.
class PendingInstaller {
 public:
  struct Offer {
    std::string version;
    bool force = false;  // the user may not skip it
    std::string installer_path;
  };

  // The user's answer to the offer, as the new-version dialog returns it.
  enum Answer { Install = 1, NotInstall = 2, Exit = 3 };

  // "installer_" + version, with ".exe" on Windows, in the folder.
  static std::string installer_path(const std::string& folder, const std::string& version);

  // Looks at the folder, cleans up what is no longer worth offering (an old
  // installer, an unreadable record) and returns the offer, if any.
  static std::optional<Offer> check(const std::string& folder, const std::string& running_version);

  // Acts on the answer; true when the program must end now. An installer that
  // cannot be started, or is no longer a plain file in its folder, is logged and
  // start-up goes on.
  static bool act_on_answer(const Offer& offer, int answer);

  // True for a regular file, not a link, directly inside folder (compared after
  // resolving both): the only kind of installer ever started.
  static bool installer_trusted(const std::string& folder, const std::string& installer);

  // What starts an installer (detached, no arguments); false when it did not start.
  // Tests install a recorder; an empty function restores the real start.
  using Launcher = std::function<bool(const std::string& installer)>;
  static void set_launcher(Launcher launcher);

 private:
  // The installed launcher, or the real start.
  static bool launch(const std::string& installer_path);
  // Starts the installer on its own; false when it did not start. On Windows through
  // the shell: an installer that asks for administrator rights (one that installs
  // into Program Files) cannot be started any other way.
  static bool start_installer(const std::string& installer_path);
};
