#include <gtest/gtest.h>

#include "Util/MD5.h"
#include "Util/StringUtil.h"
#include "Util/TimeUtil.h"

TEST(StringUtil, TrimKeepsInnerTextAndOnlyStripsBlanks) {
  EXPECT_EQ(StringUtil::trim("  a b  "), "a b");
  EXPECT_EQ(StringUtil::trim("   lead"), "lead");
  EXPECT_EQ(StringUtil::trim("\tx "), "\tx");
  EXPECT_EQ(StringUtil::trim("    "), "");
  EXPECT_EQ(StringUtil::trim(""), "");

  std::string text = " \t\r\n x y \n";
  StringUtil::trim_white_space(text);
  EXPECT_EQ(text, "x y");
  std::string blank = " \t\n";
  StringUtil::trim_white_space(blank);
  EXPECT_EQ(blank, "");

  std::string spaced = " a b  c ";
  StringUtil::remove_spaces(spaced);
  EXPECT_EQ(spaced, "abc");
}

TEST(StringUtil, SplitDropsEmptyPieces) {
  EXPECT_EQ(StringUtil::split(",a,,b,", ','), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(StringUtil::split("", ',').empty());
  EXPECT_TRUE(StringUtil::split(",,,", ',').empty());
  EXPECT_EQ(StringUtil::split("one", ','), (std::vector<std::string>{"one"}));
  EXPECT_EQ(StringUtil::split("1..6", '.'), (std::vector<std::string>{"1", "6"}));
}

TEST(StringUtil, VersionTexts) {
  EXPECT_FALSE(StringUtil::version_valid(""));
  EXPECT_FALSE(StringUtil::version_valid("1"));
  EXPECT_FALSE(StringUtil::version_valid("1.2.3.4"));
  EXPECT_TRUE(StringUtil::version_valid("1.2"));
  EXPECT_TRUE(StringUtil::version_valid("1.1.6"));
  EXPECT_TRUE(StringUtil::version_valid("1..6"));

  EXPECT_EQ(StringUtil::version_compare("1.2", "1.1.6"), 1);
  EXPECT_EQ(StringUtil::version_compare("1.1.6", "1.2"), -1);
  EXPECT_EQ(StringUtil::version_compare("1.1", "1.1.0"), 0);
  EXPECT_EQ(StringUtil::version_compare("1.1.10", "1.1.9"), 1);  // numeric, not textual
  EXPECT_EQ(StringUtil::version_compare("2", "1.9.9"), 1);
  EXPECT_EQ(StringUtil::version_compare("1.1.6.9", "1.1.6.1"), 0);  // only three pieces count

  EXPECT_EQ(StringUtil::short_version("1.1.6"), "1.1");
  EXPECT_EQ(StringUtil::short_version("1.1"), "1.1");
  EXPECT_EQ(StringUtil::short_version("7"), "7");
}

TEST(StringUtil, ConversionsAndReplacement) {
  EXPECT_TRUE(StringUtil::str_to_bool("true"));
  EXPECT_FALSE(StringUtil::str_to_bool("false"));
  for (const char* bad : {"True", "1", "", "false "}) {
    try {
      StringUtil::str_to_bool(bad);
      ADD_FAILURE() << "no exception for " << bad;
    } catch (const std::string& message) {
      EXPECT_EQ(message, "StringUtil::str_to_bool,invalid str,only support {true,false}!");
    }
  }
  EXPECT_EQ(StringUtil::bool_to_str(true), "true");

  EXPECT_EQ(StringUtil::str_to_int("42abc"), 42);
  EXPECT_EQ(StringUtil::str_to_int("N/A"), 0);
  EXPECT_EQ(StringUtil::str_to_int64("10000000000"), 10000000000LL);
  EXPECT_DOUBLE_EQ(StringUtil::str_to_double("29.97x"), 29.97);
  EXPECT_DOUBLE_EQ(StringUtil::str_to_double_stream("2.5 rest"), 2.5);
  EXPECT_EQ(StringUtil::double_to_str(37.5), "37.500000");
  EXPECT_EQ(StringUtil::double_to_fixed_str(23.976, 3), "23.976");
  EXPECT_EQ(StringUtil::double_to_fixed_str(24, 3), "24.000");

  std::string text = "a-b-c";
  StringUtil::replace_first(text, "-", "+");
  EXPECT_EQ(text, "a+b-c");
  EXPECT_EQ(StringUtil::replace_all_copy("aaaa", "aa", "a"), "a");  // searched again from the start
  EXPECT_EQ(StringUtil::replace_all_copy("\r\n\r", "\r\n", "\n"), "\n\r");
  // A replacement containing the searched text must not loop for ever.
  EXPECT_EQ(StringUtil::replace_all_copy("a.b", ".", ".."), "a..b");
  EXPECT_EQ(StringUtil::replace_all_copy("abc", "", "x"), "abc");

  std::string mixed = "MiXeD";
  StringUtil::to_lower(mixed);
  EXPECT_EQ(mixed, "mixed");
}

TEST(StringUtil, DigestAndTimeStamps) {
  EXPECT_EQ(MD5::hex_of("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(MD5::hex_of(""), "d41d8cd98f00b204e9800998ecf8427e");
  MD5 chunks;
  chunks.update("a");
  chunks.update("bc");
  EXPECT_EQ(chunks.finish_hex(), MD5::hex_of("abc"));

  const std::string stamp = TimeUtil::datetime_stamp();
  ASSERT_EQ(stamp.size(), 15u);
  EXPECT_EQ(stamp[8], '_');
  EXPECT_EQ(stamp.substr(0, 8).find_first_not_of("0123456789"), std::string::npos);
  EXPECT_EQ(TimeUtil::date_stamp().size(), 8u);
  EXPECT_EQ(TimeUtil::day_of_month().size(), 2u);
}
