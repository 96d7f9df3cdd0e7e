#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

// Flat JSON objects whose values are strings, on top of RapidJSON. Numbers and
// booleans are stored as texts ("95", "true").
class SimpleJson {
 public:
  SimpleJson();
  ~SimpleJson();
  SimpleJson(const SimpleJson&) = delete;
  SimpleJson& operator=(const SimpleJson&) = delete;

  // Parses into the owned document; a failure is only recorded.
  void parse(const std::string& text);
  // Reads the file (dropping its byte-order mark) and parses it.
  void load_file(const std::string& path);
  bool has_parse_error() const;
  bool is_object() const;

  // The string value of the member with exactly this name. Throws a std::string
  // when the root is not an object, the member is missing, or its value is not a
  // string.
  std::string get(const char* key) const;
  // The same without throwing: false, value untouched, where get would throw.
  bool try_get(const char* key, std::string* value) const;
  // Replaces the member's value in place or appends a new member. Returns false
  // (and changes nothing) when the root is not an object.
  bool set(const std::string& key, const std::string& value);
  // Member names in document order; empty when the root is not an object.
  std::vector<std::string> keys() const;

  std::string to_string() const;
  std::string to_pretty_string() const;
  // Indented text with a byte-order mark, written atomically; returns success
  // (error, when given, receives the reason of a failure).
  bool save_file(const std::string& path, std::string* error = nullptr) const;

  static bool is_json(const std::string& text);
  // The members of a flat object, ordered by key. A text that does not parse gives
  // an empty map; a root that is not an object, or a value that is not a string,
  // throws a std::string.
  static std::map<std::string, std::string> to_map(const std::string& text);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
