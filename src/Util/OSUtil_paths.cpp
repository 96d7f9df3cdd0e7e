#include "Util/OSUtil.h"

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

std::string OSUtil::getUniqueOutputPath(const std::string& outDir, const std::string& name,
                                        const std::string& ext, char sep) {
  const std::string base = removeExtension(name);
  std::string candidate = pathJoin(outDir, base + "_output" + ext, sep);
  if (!isPathTaken(candidate)) return candidate;
  for (int n = 2; n <= 9998; ++n) {
    candidate = pathJoin(outDir, base + "_output_" + std::to_string(n) + ext, sep);
    if (!isPathTaken(candidate)) return candidate;
  }
  // Every numbered name is taken: a GUID still gives a name that overwrites nothing.
  for (;;) {
    candidate = pathJoin(outDir, base + "_output_" + createGuid() + ext, sep);
    if (!isPathTaken(candidate)) return candidate;
  }
}

std::string OSUtil::getOutputFilePath(const std::string& outDir, const std::string& name) {
  return getUniqueOutputPath(outDir, name, ".mp4");
}
