#include <gtest/gtest.h>

#include <QFile>

#include "TestEnvironment.h"
#include "text/TxtUtil.h"

namespace {
QByteArray raw_bytes(const std::string& path) {
  QFile file(QString::fromStdString(path));
  file.open(QIODevice::ReadOnly);
  return file.readAll();
}

void write_raw(const std::string& path, const QByteArray& bytes) {
  QFile file(QString::fromStdString(path));
  file.open(QIODevice::WriteOnly);
  file.write(bytes);
}

}  // namespace

TEST(TxtUtil, RoundTripsNonAsciiTextWithByteOrderMark) {
  const std::string path = make_temp_folder("txt") + "/job ünï 视频.txt";
  const std::string text = "{\n    \"InputFile\": \"/home/u/视频 ü.mp4\"\n}";
  ASSERT_TRUE(TxtUtil::write_text_file(path, text));
  const QByteArray bytes = raw_bytes(path);
  EXPECT_EQ(bytes.left(3), QByteArray("\xEF\xBB\xBF"));
  EXPECT_EQ(bytes.mid(3).toStdString(), text);  // no trailing line break added
  EXPECT_EQ(TxtUtil::read_text_file(path), text);

  // Text after a NUL is neither written nor read.
  ASSERT_TRUE(TxtUtil::write_text_file(path, std::string("kept\0dropped", 12)));
  EXPECT_EQ(TxtUtil::read_text_file(path), "kept");

  // A file another editor saved without a byte-order mark keeps all its text.
  write_raw(path, "{\"a\":\"b\"}\n");
  EXPECT_EQ(TxtUtil::read_text_file(path), "{\"a\":\"b\"}\n");
  write_raw(path, "ab");
  EXPECT_EQ(TxtUtil::read_text_file(path), "ab");
}

TEST(TxtUtil, ReadsNoFileAboveTheLimit) {
  // The limit counts the whole file, byte-order mark included (special files: JobFileTest).
  const std::string path = make_temp_folder("txt-big") + "/big.txt";
  const QByteArray text(int(TxtUtil::kMaxReadBytes) - 3, 'x');
  write_raw(path, "\xEF\xBB\xBF" + text);
  EXPECT_EQ(TxtUtil::read_text_file(path).size(), size_t(text.size()));
  write_raw(path, "\xEF\xBB\xBF" + text + "y");
  EXPECT_EQ(TxtUtil::read_text_file(path), "");
}
