#include "text/SimpleJson.h"

#include <rapidjson/document.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/reader.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstring>
#include <iostream>

#include "text/TxtUtil.h"

namespace {

// Every document the program reads is a flat object. Anything nested deeper than
// this is refused: RapidJSON's writers and copies recurse once per level.
const int kMaxDepth = 64;

// Passes parse events on to the document and ends the parse past kMaxDepth.
class DepthLimitedHandler {
 public:
  explicit DepthLimitedHandler(rapidjson::Document& doc) : doc_(doc) {}
  bool Null() { return doc_.Null(); }
  bool Bool(bool b) { return doc_.Bool(b); }
  bool Int(int i) { return doc_.Int(i); }
  bool Uint(unsigned i) { return doc_.Uint(i); }
  bool Int64(int64_t i) { return doc_.Int64(i); }
  bool Uint64(uint64_t i) { return doc_.Uint64(i); }
  bool Double(double d) { return doc_.Double(d); }
  bool RawNumber(const char* str, rapidjson::SizeType length, bool copy) {
    return doc_.RawNumber(str, length, copy);
  }
  bool String(const char* str, rapidjson::SizeType length, bool copy) {
    return doc_.String(str, length, copy);
  }
  bool Key(const char* str, rapidjson::SizeType length, bool copy) { return doc_.Key(str, length, copy); }
  bool StartObject() { return ++depth_ <= kMaxDepth && doc_.StartObject(); }
  bool EndObject(rapidjson::SizeType count) {
    --depth_;
    return doc_.EndObject(count);
  }
  bool StartArray() { return ++depth_ <= kMaxDepth && doc_.StartArray(); }
  bool EndArray(rapidjson::SizeType count) {
    --depth_;
    return doc_.EndArray(count);
  }

 private:
  rapidjson::Document& doc_;
  int depth_ = 0;
};

// Parses without recursion (a deeply nested text cannot exhaust the stack), checks
// that the text is UTF-8 and refuses deep nesting. On failure the document is null.
rapidjson::ParseResult parseInto(rapidjson::Document& doc, const std::string& text) {
  constexpr unsigned kFlags = rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag;
  rapidjson::ParseResult result;
  auto generator = [&text, &result](rapidjson::Document& handler) {
    rapidjson::MemoryStream stream(text.data(), text.size());
    rapidjson::EncodedInputStream<rapidjson::UTF8<>, rapidjson::MemoryStream> input(stream);
    DepthLimitedHandler limited(handler);
    rapidjson::Reader reader;
    result = reader.Parse<kFlags>(input, limited);
    return !result.IsError();
  };
  doc.Populate(generator);
  if (result.IsError()) doc.SetNull();
  return result;
}

}  // namespace

struct SimpleJson::Impl {
  rapidjson::Document doc;
  rapidjson::ParseResult result;

  const rapidjson::Value* find(const char* key) const {
    if (!doc.IsObject()) return nullptr;
    const size_t length = std::strlen(key);
    for (auto it = doc.MemberBegin(); it != doc.MemberEnd(); ++it) {
      if (it->name.GetStringLength() == length && std::memcmp(it->name.GetString(), key, length) == 0)
        return &it->value;
    }
    return nullptr;
  }
};

SimpleJson::SimpleJson() : impl_(new Impl) {}
SimpleJson::~SimpleJson() = default;

void SimpleJson::parse(const std::string& text) {
  impl_->doc = rapidjson::Document();
  impl_->result = parseInto(impl_->doc, text);
}

void SimpleJson::load_file(const std::string& path) { parse(TxtUtil::read_text_file(path)); }

bool SimpleJson::has_parse_error() const { return impl_->result.IsError(); }

bool SimpleJson::is_object() const { return impl_->doc.IsObject(); }

std::string SimpleJson::get(const char* key) const {
  const rapidjson::Value* value = impl_->find(key);
  if (value == nullptr) throw std::string("SimpleJson::get: the key doesn't exist.");
  if (!value->IsString()) throw std::string("SimpleJson::get: the value is not a string.");
  return std::string(value->GetString(), value->GetStringLength());
}

bool SimpleJson::try_get(const char* key, std::string* value) const {
  const rapidjson::Value* found = impl_->find(key);
  if (found == nullptr || !found->IsString()) return false;
  value->assign(found->GetString(), found->GetStringLength());
  return true;
}

bool SimpleJson::set(const std::string& key, const std::string& value) {
  rapidjson::Document& doc = impl_->doc;
  if (!doc.IsObject()) return false;
  auto& allocator = doc.GetAllocator();
  rapidjson::Value* existing = const_cast<rapidjson::Value*>(impl_->find(key.c_str()));
  rapidjson::Value new_value(value.c_str(), static_cast<rapidjson::SizeType>(value.size()), allocator);
  if (existing != nullptr) {
    *existing = new_value;
  } else {
    rapidjson::Value name(key.c_str(), static_cast<rapidjson::SizeType>(key.size()), allocator);
    doc.AddMember(name, new_value, allocator);
  }
  return true;
}

std::vector<std::string> SimpleJson::keys() const {
  if (impl_->result.IsError()) std::cout << "There have parse error" << std::endl;
  std::vector<std::string> names;
  if (!impl_->doc.IsObject()) return names;
  for (auto it = impl_->doc.MemberBegin(); it != impl_->doc.MemberEnd(); ++it)
    names.emplace_back(it->name.GetString(), it->name.GetStringLength());
  return names;
}

std::string SimpleJson::to_string() const {
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
  impl_->doc.Accept(writer);
  return std::string(buffer.GetString(), buffer.GetSize());
}

std::string SimpleJson::to_pretty_string() const {
  rapidjson::StringBuffer buffer;
  rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
  writer.SetIndent(' ', 4);
  impl_->doc.Accept(writer);
  return std::string(buffer.GetString(), buffer.GetSize());
}

bool SimpleJson::save_file(const std::string& path, std::string* error) const {
  return TxtUtil::write_text_file(path, to_pretty_string(), error);
}

bool SimpleJson::is_json(const std::string& text) {
  rapidjson::Document doc;
  return !parseInto(doc, text).IsError();
}

std::map<std::string, std::string> SimpleJson::to_map(const std::string& text) {
  SimpleJson json;
  json.parse(text);
  std::map<std::string, std::string> result;
  if (json.has_parse_error()) {
    json.keys();  // announces the parse error
    return result;
  }
  if (!json.is_object()) throw std::string("SimpleJson::to_map: the root is not an object.");
  for (const std::string& name : json.keys()) {
    if (result.count(name) == 0) result[name] = json.get(name.c_str());
  }
  return result;
}
