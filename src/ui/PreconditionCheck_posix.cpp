#include "ui/PreconditionCheck.h"

std::string tool_file_name(const std::string& tool) { return tool; }

// The libraries come from the system's packages, so there is nothing to look for.
std::vector<std::string> missing_library_messages(const std::string&) { return {}; }
