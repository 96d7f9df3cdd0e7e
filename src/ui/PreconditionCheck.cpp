#include "ui/PreconditionCheck.h"

#include "platform/OSUtil.h"

std::vector<std::string> missing_file_messages(const std::string& app_dir) {
  std::vector<std::string> messages;
  const std::string bin = OSUtil::pathJoin(app_dir, "bin");
  if (!OSUtil::isFileExist(bin)) {
    messages.push_back("bin folder not found, Kovadle will crash when transcoding!");
  } else {
    for (const char* tool : {"encoder", "mediainfo"}) {
      const std::string name = tool_file_name(tool);
      if (!OSUtil::isFileExist(OSUtil::pathJoin(bin, name)))
        messages.push_back(name + " not found in bin folder, Kovadle will crash when transcoding!");
    }
  }
  for (const std::string& message : missing_library_messages(app_dir)) messages.push_back(message);
  return messages;
}
