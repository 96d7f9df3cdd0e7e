#include "platform/OSPlatform.h"
#include "platform/OSUtil.h"

namespace {

// Where the last path component begins, whichever separator style the path uses,
// so a dot in a folder name is never taken for an extension.
size_t lastComponentStart(const std::string& path) {
  const size_t sep = path.find_last_of("/\\");
  return sep == std::string::npos ? 0 : sep + 1;
}

size_t extensionDot(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < lastComponentStart(path)) return std::string::npos;
  return dot;
}

}  // namespace

// '/' separates on every system: Windows takes it too, and Qt's dialogs and dropped
// files hand paths out with it there. No file name can hold it.
std::string OSUtil::getFileName(const std::string& path, char sep) {
  const size_t pos = path.find_last_of(std::string{sep, '/'});
  return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string OSUtil::getFileDir(const std::string& path, char sep) {
  const size_t pos = path.find_last_of(std::string{sep, '/'});
  return pos == std::string::npos ? path : path.substr(0, pos);
}

std::string OSUtil::getFileExtension(const std::string& path) {
  const size_t dot = extensionDot(path);
  return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string OSUtil::removeExtension(const std::string& path) {
  const size_t dot = extensionDot(path);
  return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string OSUtil::addOutputSuffix(const std::string& path) {
  return removeExtension(path) + "_output" + getFileExtension(path);
}

std::string OSUtil::fitFileName(const std::string& base, const std::string& tail, size_t limit) {
  std::string kept = base;
  while (!kept.empty() && os_platform::fileNameUnits(kept + tail) > limit) {
    // Back to the lead byte of the last character, so no character is cut in two.
    size_t cut = kept.size() - 1;
    while (cut > 0 && (static_cast<unsigned char>(kept[cut]) & 0xC0) == 0x80) --cut;
    kept.erase(cut);
  }
  return kept + tail;
}

size_t OSUtil::maxFileNameLength(const std::string& folder) {
  const size_t limit = os_platform::fileNameLimit(folder);
  return limit > 0 ? limit : 255;
}

std::string OSUtil::getUniqueOutputPath(const std::string& outDir, const std::string& name,
                                        const std::string& ext, char sep) {
  const std::string base = removeExtension(name);
  const size_t limit = maxFileNameLength(outDir);
  const auto named = [&](const std::string& tail) {
    return pathJoin(outDir, fitFileName(base, tail + ext, limit), sep);
  };
  std::string candidate = named("_output");
  if (!isPathTaken(candidate)) return candidate;
  for (int n = 2; n <= 9998; ++n) {
    candidate = named("_output_" + std::to_string(n));
    if (!isPathTaken(candidate)) return candidate;
  }
  // Every numbered name is taken: a GUID still gives a name that overwrites nothing.
  for (;;) {
    candidate = named("_output_" + createGuid());
    if (!isPathTaken(candidate)) return candidate;
  }
}

std::string OSUtil::getOutputFilePath(const std::string& outDir, const std::string& name) {
  return getUniqueOutputPath(outDir, name, ".mp4");
}
