#include "jobs/JobView.h"

#include <QFileInfo>

#include "text/QtText.h"

namespace {

int64_t sizeOf(const std::string& path) {
  const QFileInfo file(to_qstring(path));
  return file.isFile() ? file.size() : -1;
}

}  // namespace

int64_t JobView::InputSize() const { return sizeOf(inputFile); }

int64_t JobView::OutputSize() const { return sizeOf(outputFile); }
