#include <gtest/gtest.h>

#include "text/SimpleJson.h"

namespace {
std::string thrown_by(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::string& message) {
    return message;
  }
  return "";
}
}  // namespace

// Member order, the pretty layout, roots that are not objects and values of the wrong
// type go through the job-file and settings tests.
TEST(SimpleJson, LookupRulesAndFailures) {
  SimpleJson json;
  json.parse(R"({"Name":"first","Name":"second","o":{"x":"y"}})");
  EXPECT_EQ(json.get("Name"), "first");  // the first member of a name wins
  EXPECT_EQ(thrown_by([&] { json.get("name"); }), "SimpleJson::get: the key doesn't exist.");
  EXPECT_EQ(thrown_by([&] { json.get("o"); }), "SimpleJson::get: the value is not a string.");
  std::string value = "kept";
  EXPECT_FALSE(json.try_get("name", &value) || json.try_get("o", &value));
  EXPECT_TRUE(value == "kept" && json.try_get("Name", &value) && value == "first");

  EXPECT_FALSE(SimpleJson::is_json("   "));
  EXPECT_FALSE(SimpleJson::is_json("{} x"));
  EXPECT_EQ(SimpleJson::to_map(R"({"c":"3","a":"1"})"),
            (std::map<std::string, std::string>{{"a", "1"}, {"c", "3"}}));
  EXPECT_TRUE(SimpleJson::to_map("not json").empty());
  EXPECT_FALSE(thrown_by([] { SimpleJson::to_map(R"({"a":"1","n":2})"); }).empty());
}

TEST(SimpleJson, HostileTextsFailWithoutCrashing) {
  auto nested = [](int depth) { return std::string(depth, '[') + std::string(depth, ']'); };
  // Far deeper than any stack, or not UTF-8: refused, never a crash.
  for (const std::string& text :
       {nested(120000), "{\"a\":" + nested(120000) + "}", std::string("{\"a\":\"\xff\xfe\"}")}) {
    EXPECT_FALSE(SimpleJson::is_json(text));
    EXPECT_TRUE(SimpleJson::to_map(text).empty());
  }
  // Our documents are flat; moderate nesting still parses.
  EXPECT_TRUE(SimpleJson::is_json(nested(64)));
  EXPECT_FALSE(SimpleJson::is_json(nested(65)));
  EXPECT_EQ(SimpleJson::to_map("{\"a\":\"\xc3\xbc\"}").at("a"), "\xc3\xbc");
}
