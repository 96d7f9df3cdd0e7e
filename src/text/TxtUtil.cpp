#include "text/TxtUtil.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QTextStream>
#include <cstring>
#include <iostream>

#include "log/LogUtil.h"
#include "text/QtText.h"

namespace {
const char kBom[] = "\xEF\xBB\xBF";
}  // namespace

std::string TxtUtil::read_text_file(const std::string& path) {
  std::string all;
  switch (readRegularFile(path, kMaxReadBytes, all)) {
    case FileRead::Ok:
      break;
    case FileRead::NotRegular:
      log_info("TxtUtil::read_text_file, skipped, not a regular file:" + path);
      return std::string();
    case FileRead::TooLarge:
      log_info("TxtUtil::read_text_file, skipped, larger than " + std::to_string(kMaxReadBytes) +
               " bytes:" + path);
      return std::string();
    default:
      return std::string();
  }
  // The program writes a byte-order mark first; a file another editor saved has
  // none, and its first bytes are text the reader must keep.
  const size_t skip = all.compare(0, 3, kBom) == 0 ? 3 : 0;
  const char* body = all.data() + skip;
  return std::string(body, strnlen(body, all.size() - skip));
}

bool TxtUtil::write_text_file(const std::string& path, const std::string& text, std::string* error) {
  QSaveFile file(to_qstring(path));
  auto fail = [&file, error] {
    if (error != nullptr) *error = to_utf8(file.errorString());
    return false;
  };
  if (!file.open(QIODevice::WriteOnly)) return fail();
  const size_t length = strnlen(text.c_str(), text.size());
  const qint64 wanted = static_cast<qint64>(3 + length);
  qint64 written = file.write(kBom, 3);
  if (written == 3 && length > 0) written += file.write(text.c_str(), static_cast<qint64>(length));
  // commit() ignores a failure of the final buffer flush, so flush and check first.
  if (written != wanted || !file.flush() || file.error() != QFileDevice::NoError) {
    fail();
    file.cancelWriting();
    return false;
  }
  return file.commit() || fail();
}

void TxtUtil::append_line(const std::string& path, const std::string& text) {
  QFile file(to_qstring(path));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
    std::cout << "Open file failed:" << path << std::endl;
    return;
  }
  QTextStream stream(&file);
  stream.setCodec("UTF-8");
  stream << to_qstring(text) << Qt::endl;
}

std::string TxtUtil::utf8_to_ansi(const std::string& text) {
  return to_qstring(text).toLocal8Bit().toStdString();
}

std::string TxtUtil::ansi_to_utf8(const std::string& text) {
  return QString::fromLocal8Bit(text.c_str(), static_cast<int>(text.size())).toUtf8().toStdString();
}
