#include <gtest/gtest.h>

#include "Util/SimpleJson.h"

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

TEST(SimpleJson, SetKeepsMemberOrderAndPrettyFormat) {
  SimpleJson json;
  json.parse("{}");
  json.set("JobID", "1");
  json.set("Quality", "95");
  json.set("IsCompleted", "false");
  json.set("Quality", "85");  // replaced in place
  EXPECT_EQ(json.keys(), (std::vector<std::string>{"JobID", "Quality", "IsCompleted"}));
  EXPECT_EQ(json.to_string(), R"({"JobID":"1","Quality":"85","IsCompleted":"false"})");
  EXPECT_EQ(json.to_pretty_string(),
            "{\n    \"JobID\": \"1\",\n    \"Quality\": \"85\",\n    \"IsCompleted\": \"false\"\n}");
  EXPECT_EQ(json.get("Quality"), "85");
}

TEST(SimpleJson, LookupRulesAndFailures) {
  SimpleJson json;
  json.parse(R"({"Name":"first","Name":"second","n":5,"b":true,"o":{"x":"y"}})");
  EXPECT_EQ(json.get("Name"), "first");  // the first member of a name wins
  EXPECT_EQ(thrown_by([&] { json.get("name"); }), "SimpleJson::get: the key doesn't exist.");
  // Values that are not strings are failures for the caller, never a crash.
  EXPECT_EQ(thrown_by([&] { json.get("n"); }), "SimpleJson::get: the value is not a string.");
  EXPECT_EQ(thrown_by([&] { json.get("o"); }), "SimpleJson::get: the value is not a string.");

  // A root that is not an object: no keys, get throws, set refuses.
  SimpleJson array;
  array.parse("[1,2,3]");
  EXPECT_FALSE(array.has_parse_error());
  EXPECT_TRUE(array.keys().empty());
  EXPECT_EQ(thrown_by([&] { array.get("x"); }), "SimpleJson::get: the key doesn't exist.");
  EXPECT_FALSE(array.set("x", "y"));
  EXPECT_EQ(array.to_string(), "[1,2,3]");

  // A parse failure leaves an empty document behind.
  SimpleJson broken;
  broken.parse("{\"a\": ");
  EXPECT_TRUE(broken.has_parse_error());
  EXPECT_TRUE(broken.keys().empty());
  EXPECT_EQ(thrown_by([&] { broken.get("a"); }), "SimpleJson::get: the key doesn't exist.");
}

TEST(SimpleJson, IsJsonAndToMap) {
  EXPECT_TRUE(SimpleJson::is_json("{}"));
  EXPECT_TRUE(SimpleJson::is_json(" [1, 2, 3] "));
  EXPECT_FALSE(SimpleJson::is_json(""));
  EXPECT_FALSE(SimpleJson::is_json("   "));
  EXPECT_FALSE(SimpleJson::is_json("{} x"));

  const auto map = SimpleJson::to_map(R"({"c":"3","a":"1","b":"2"})");
  EXPECT_EQ(map, (std::map<std::string, std::string>{{"a", "1"}, {"b", "2"}, {"c", "3"}}));
  EXPECT_TRUE(SimpleJson::to_map("{}").empty());
  EXPECT_TRUE(SimpleJson::to_map("not json").empty());
  EXPECT_FALSE(thrown_by([] { SimpleJson::to_map(R"({"a":"1","n":2})"); }).empty());
  EXPECT_FALSE(thrown_by([] { SimpleJson::to_map("[\"a\"]"); }).empty());
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
