#pragma once

#include <atomic>
#include <string>

#include "text/SyncString.h"

// Blocking HTTP(S) requests for worker threads, on libcurl's easy interface. Each
// call uses its own handle; results come back as the libcurl code (0 when the
// transfer completed, a positive libcurl code when it failed, -2 when no handle
// could be made, -3 when a download target cannot be opened) and the HTTP status
// (-1 after a failed transfer). Nothing is thrown.
//
// No server can hold a request for long or fill memory: only http and https are
// spoken (a redirect from https stays on https), at most 5 redirects are followed,
// a transfer slower than 64 bytes a second for 10 s ends, a reply kept in memory
// ends past 1 MiB and a download past 256 MiB (both logged, both failures).
class HttpUtil {
 public:
  // The process-wide instance: libcurl's global set-up runs once, with the first
  // call. When an application object exists, its aboutToQuit aborts every transfer.
  static HttpUtil& instance();

  // Follows redirects; 60 s for the whole transfer.
  static void get(const std::string& url, int& curl_code, int& http_code, std::string& response);
  // Sends body as a JSON text; never follows a redirect; 10 s for the whole transfer.
  static void post(const std::string& url, const std::string& body, int& curl_code, int& http_code,
                   std::string& response);
  // Writes the body into file_path (replacing it); a partial file stays after a failure.
  static void download_file(const std::string& url, const std::string& file_path, int& curl_code,
                            int& http_code);
  // The URL reached after following every redirect; empty after a failure.
  static std::string get_redirect_url(const std::string& url, int& curl_code, int& http_code);

  static std::string url_encode(const std::string& text);
  // "+" becomes a space and "%XX" its byte; a "%" without two hex digits stays as it is.
  static std::string url_decode(const std::string& text);

  // Peers are always verified: against the system's trust store, or with use_ca_file
  // on, against the CA bundle in ca_file ("cacert.pem" in the working directory
  // unless another file is named).
  static void set_use_ca_file(bool use);
  static void set_ca_file(const std::string& path);

  // Ends every transfer in flight and makes later ones fail at once, so a closing
  // program never waits for a slow server.
  static void abort_transfers();

 private:
  HttpUtil();
  struct Request;

  std::atomic<bool> use_ca_file_{false};
  SyncString ca_file_{"cacert.pem"};
  std::atomic<bool> aborted_{false};
};
