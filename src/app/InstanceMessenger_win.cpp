#include "app/InstanceMessenger.h"

bool InstanceMessenger::belongsToThisUser() const {
  // The pipe is made with the user's access only (UserAccessOption).
  return true;
}

void InstanceMessenger::rememberSocket() {}

// A pipe has no name on disk to lose; it lives as long as the server listens.
bool InstanceMessenger::socketStillThere() const { return true; }
