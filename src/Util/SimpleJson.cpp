#include "Util/SimpleJson.h"

#include <rapidjson/document.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstring>
#include <iostream>

#include "Util/TxtUtil.h"

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
  impl_->result = impl_->doc.Parse(text.c_str(), text.size());
  if (impl_->result.IsError()) impl_->doc.SetNull();
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

bool SimpleJson::save_file(const std::string& path) const {
  return TxtUtil::write_text_file(path, to_pretty_string());
}

bool SimpleJson::is_json(const std::string& text) {
  rapidjson::Document doc;
  doc.Parse(text.c_str(), text.size());
  return !doc.HasParseError();
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
