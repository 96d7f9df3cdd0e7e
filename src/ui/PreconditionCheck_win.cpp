#include "platform/OSUtil.h"
#include "ui/PreconditionCheck.h"

std::string tool_file_name(const std::string& tool) { return tool + ".exe"; }

std::vector<std::string> missing_library_messages(const std::string& app_dir) {
  std::vector<std::string> messages;
  for (const char* library : {"libcurl.dll", "libglog.dll"}) {
    if (!OSUtil::isFileExist(OSUtil::pathJoin(app_dir, library)))
      messages.push_back(std::string(library) + " not found, Kovadle will failed to launch!");
  }
  return messages;
}
