#include "net/HttpUtil.h"

#include <curl/curl.h>

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>

#include "log/LogUtil.h"
#include "text/QtText.h"

namespace {

const char* const kUserAgent = "Kovadle_v1.0.1";

// A reply kept in memory: a configuration or a report's answer is a few kilobytes.
constexpr size_t kMaxTextReply = 1024 * 1024;
// A file download: an installer is tens of megabytes; four times the largest we
// could ship still stops a server that would fill the disk.
constexpr curl_off_t kMaxDownload = 256LL * 1024 * 1024;
// Hops a followed request may take; a loop ends here, not at libcurl's header cap.
constexpr long kMaxRedirects = 5;
// A transfer slower than this many bytes a second for that many seconds ends: a
// server that drips its reply must not hold the request for its whole time-out.
constexpr long kLowSpeedBytes = 64;
constexpr long kLowSpeedSeconds = 10;

// Where a text reply goes; past the cap the transfer ends with a write error.
struct TextReply {
  std::string body;
  bool over_cap = false;
};

size_t append_to_string(char* data, size_t size, size_t count, void* target) {
  const size_t bytes = size * count;
  TextReply& reply = *static_cast<TextReply*>(target);
  if (reply.body.size() + bytes > kMaxTextReply) {
    reply.over_cap = true;
    return 0;
  }
  try {
    reply.body.append(data, bytes);
  } catch (const std::bad_alloc&) {
    // Returning short makes libcurl end the transfer with a write error.
    std::printf("not enough memory (realloc returned NULL)\n");
    return 0;
  }
  return bytes;
}

struct FileReply {
  QFile file;
  bool over_cap = false;
};

size_t append_to_file(char* data, size_t size, size_t count, void* target) {
  FileReply& reply = *static_cast<FileReply*>(target);
  // A server that sends no length, or lies about it, is stopped here.
  if (reply.file.pos() + static_cast<qint64>(size * count) > static_cast<qint64>(kMaxDownload)) {
    reply.over_cap = true;
    return 0;
  }
  const qint64 written = reply.file.write(data, static_cast<qint64>(size * count));
  return written < 0 ? 0 : static_cast<size_t>(written);
}

size_t discard(char*, size_t size, size_t count, void*) { return size * count; }

// libcurl calls this about once a second and on every bit of progress, also while
// connecting; a non-zero answer ends the transfer with CURLE_ABORTED_BY_CALLBACK.
int abort_check(void* aborted, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<const std::atomic<bool>*>(aborted)->load() ? 1 : 0;
}

// The part of a body up to its first NUL, as the C-string buffer it replaces gave it.
std::string up_to_nul(const std::string& body) { return std::string(body.c_str()); }

}  // namespace

// One easy handle with the settings every operation shares; released on scope exit.
struct HttpUtil::Request {
  enum class Kind { Get, Post, Download, Redirect };

  Request(const std::string& url, Kind kind) : handle(curl_easy_init()) {
    if (handle == nullptr) return;
    HttpUtil& self = instance();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    // Several worker threads may be in a request: no signals for time-outs.
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &abort_check);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &self.aborted_);
    if (self.use_ca_file_) {
      curl_easy_setopt(handle, CURLOPT_CAINFO, self.ca_file_.get().c_str());
    } else {
      // Where libcurl is built on OpenSSL for Windows this reads the Windows store;
      // elsewhere the system bundle is used already and the flag changes nothing.
      curl_easy_setopt(handle, CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_NATIVE_CA));
    }
    if (kind != Kind::Redirect) {
      headers = curl_slist_append(headers, "Content-Type: application/json");
      headers = curl_slist_append(headers, "Accept: */*");
      curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
      curl_easy_setopt(handle, CURLOPT_USERAGENT, kUserAgent);
    }
    // The program speaks HTTP(S) only, and is never sent from HTTPS to plain HTTP.
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR,
                     url.rfind("https:", 0) == 0 ? "https" : "http,https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, kind == Kind::Post ? 0L : 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, kLowSpeedBytes);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, kLowSpeedSeconds);
    switch (kind) {
      case Kind::Get:
        // A configuration is a few kilobytes; longer only holds up the reports behind it.
        curl_easy_setopt(handle, CURLOPT_TIMEOUT, 60L);
        curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxTextReply));
        break;
      case Kind::Post:
        curl_easy_setopt(handle, CURLOPT_TIMEOUT, 10L);
        curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxTextReply));
        break;
      case Kind::Download:
        curl_easy_setopt(handle, CURLOPT_TIMEOUT, 1800L);
        curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, kMaxDownload);
        break;
      case Kind::Redirect:
        curl_easy_setopt(handle, CURLOPT_TIMEOUT, 60L);
        break;
    }
  }

  ~Request() {
    if (headers != nullptr) curl_slist_free_all(headers);
    if (handle != nullptr) curl_easy_cleanup(handle);
  }

  Request(const Request&) = delete;
  Request& operator=(const Request&) = delete;

  // Performs the transfer and fills both codes the way every operation reports them.
  CURLcode perform(int& curl_code, int& http_code) {
    const CURLcode result = curl_easy_perform(handle);
    curl_code = static_cast<int>(result);
    http_code = -1;
    if (result == CURLE_OK) {
      long status = 0;
      curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
      http_code = static_cast<int>(status);
    }
    return result;
  }

  CURL* handle;
  curl_slist* headers = nullptr;
};

HttpUtil::HttpUtil() {
  curl_global_init(CURL_GLOBAL_ALL);
  std::atexit([] { curl_global_cleanup(); });
  if (QCoreApplication* app = QCoreApplication::instance())
    QObject::connect(app, &QCoreApplication::aboutToQuit, [] { abort_transfers(); });
}

HttpUtil& HttpUtil::instance() {
  static HttpUtil util;
  return util;
}

void HttpUtil::set_use_ca_file(bool use) { instance().use_ca_file_ = use; }

void HttpUtil::set_ca_file(const std::string& path) { instance().ca_file_.set(path); }

void HttpUtil::abort_transfers() { instance().aborted_ = true; }

namespace {

void text_request(CURL* handle, TextReply& reply) {
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &append_to_string);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &reply);
}

void report_text_result(CURLcode result, const TextReply& reply, std::string& response) {
  if (result == CURLE_OK) {
    response = up_to_nul(reply.body);
    return;
  }
  const bool too_large = reply.over_cap || result == CURLE_FILESIZE_EXCEEDED;
  if (too_large)
    log_info("HttpUtil, reply larger than " + std::to_string(kMaxTextReply) + " bytes, request ended.");
  // The start of an oversized reply tells nothing and would only fill the log.
  response = std::string("curl_easy_perform() failed:") + curl_easy_strerror(result) +
             ",response:" + (too_large ? std::string() : up_to_nul(reply.body));
}

}  // namespace

void HttpUtil::get(const std::string& url, int& curl_code, int& http_code, std::string& response) {
  Request request(url, Request::Kind::Get);
  if (request.handle == nullptr) {
    curl_code = http_code = -2;
    response = "curl_easy_init failed.";
    return;
  }
  TextReply reply;
  text_request(request.handle, reply);
  report_text_result(request.perform(curl_code, http_code), reply, response);
}

void HttpUtil::post(const std::string& url, const std::string& data, int& curl_code, int& http_code,
                    std::string& response) {
  Request request(url, Request::Kind::Post);
  if (request.handle == nullptr) {
    curl_code = http_code = -2;
    response = "curl_easy_init failed.";
    return;
  }
  curl_easy_setopt(request.handle, CURLOPT_POSTFIELDSIZE, static_cast<long>(data.size()));
  curl_easy_setopt(request.handle, CURLOPT_POSTFIELDS, data.c_str());
  TextReply reply;
  text_request(request.handle, reply);
  report_text_result(request.perform(curl_code, http_code), reply, response);
}

void HttpUtil::download_file(const std::string& url, const std::string& file_path, int& curl_code,
                             int& http_code) {
  Request request(url, Request::Kind::Download);
  if (request.handle == nullptr) {
    curl_code = http_code = -2;
    return;
  }
  FileReply reply;
  reply.file.setFileName(to_qstring(file_path));
  if (!reply.file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    curl_code = http_code = -3;
    return;
  }
  curl_easy_setopt(request.handle, CURLOPT_WRITEFUNCTION, &append_to_file);
  curl_easy_setopt(request.handle, CURLOPT_WRITEDATA, &reply);
  if (request.perform(curl_code, http_code) == CURLE_FILESIZE_EXCEEDED || reply.over_cap)
    log_info("HttpUtil::download_file, download larger than " + std::to_string(kMaxDownload) +
             " bytes, ended.");
}

std::string HttpUtil::get_redirect_url(const std::string& url, int& curl_code, int& http_code) {
  Request request(url, Request::Kind::Redirect);
  if (request.handle == nullptr) {
    curl_code = http_code = -2;
    return std::string();
  }
  curl_easy_setopt(request.handle, CURLOPT_WRITEFUNCTION, &discard);
  if (request.perform(curl_code, http_code) != CURLE_OK) {
    std::cout << "res is not CURLE_OK" << std::endl;
    return std::string();
  }
  char* effective = nullptr;
  curl_easy_getinfo(request.handle, CURLINFO_EFFECTIVE_URL, &effective);
  return effective == nullptr ? std::string() : std::string(effective);
}

std::string HttpUtil::url_encode(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(text.size() * 3);
  for (const char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    const bool letter_or_digit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (letter_or_digit || c == '-' || c == '.' || c == '_' || c == '~') {
      encoded += c;
    } else if (c == ' ') {
      encoded += '+';
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0F];
    }
  }
  return encoded;
}

namespace {
int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

std::string HttpUtil::url_decode(const std::string& text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      decoded += ' ';
    } else if (c == '%' && i + 2 < text.size() && hex_value(text[i + 1]) >= 0 &&
               hex_value(text[i + 2]) >= 0) {
      decoded += static_cast<char>(hex_value(text[i + 1]) * 16 + hex_value(text[i + 2]));
      i += 2;
    } else {
      decoded += c;
    }
  }
  return decoded;
}
