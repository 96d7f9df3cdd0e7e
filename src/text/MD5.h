#pragma once

#include <QCryptographicHash>
#include <string>

// RFC 1321 digest over bytes, as lower-case hexadecimal text.
class MD5 {
 public:
  MD5() : hash_(QCryptographicHash::Md5) {}
  void start() { hash_.reset(); }
  void update(const std::string& bytes) { hash_.addData(bytes.data(), static_cast<int>(bytes.size())); }
  std::string finish_hex() { return hash_.result().toHex().toStdString(); }

  static std::string hex_of(const std::string& bytes) {
    MD5 md5;
    md5.update(bytes);
    return md5.finish_hex();
  }

 private:
  QCryptographicHash hash_;
};
