#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "text/MD5.h"
#include "text/StringUtil.h"
#include "text/TerminalText.h"

TEST(StringUtil, TrimSplitReplaceAndVersions) {
  EXPECT_EQ(StringUtil::trim("\tx "), "\tx");  // only blanks are trimmed
  std::string text = " \t\r\n x y \n";
  StringUtil::trim_white_space(text);
  EXPECT_EQ(text, "x y");
  EXPECT_EQ(StringUtil::split(",a,,b,", ','), (std::vector<std::string>{"a", "b"}));

  EXPECT_EQ(StringUtil::replace_all_copy("aaaa", "aa", "a"), "a");    // searched again from the start
  EXPECT_EQ(StringUtil::replace_all_copy("a.b", ".", ".."), "a..b");  // must not loop for ever
  // A removal that joins the pieces around it into a new hit removes that too.
  EXPECT_EQ(StringUtil::replace_all_copy("xcoded_coded_widthwidthy", "coded_width", ""), "xy");
  EXPECT_EQ(StringUtil::replace_all_copy("aabb", "ab", "ba"), "bbaa");
  EXPECT_EQ(MD5::hex_of("abc"), "900150983cd24fb0d6963f7d28e17f72");

  for (const char* invalid : {"", "1", "1.2.3.4", "9/../../x", "1..2", "1.2a"})
    EXPECT_FALSE(StringUtil::version_valid(invalid)) << invalid;
  EXPECT_EQ(StringUtil::version_compare("1.1.9", "1.1.10"), -1);  // numeric, not textual
  EXPECT_EQ(StringUtil::version_compare("1.1", "1.1.0"), 0);
  EXPECT_EQ(StringUtil::short_version("1.1.6"), "1.1");
  EXPECT_ANY_THROW(StringUtil::str_to_bool("True"));  // job-file flags are exact texts
  EXPECT_EQ(StringUtil::str_to_int("N/A"), 0);
}

// Run once more under a comma-decimal locale (engine_comma_locale), where printf
// writes "0,5": the engine's own number texts must not change.
TEST(StringUtil, NumberTextsIgnoreTheProcessLocale) {
  char native[16];
  std::snprintf(native, sizeof(native), "%.1f", 0.5);
  if (std::getenv("KOVADLE_EXPECT_COMMA_LOCALE") != nullptr) {
    EXPECT_STREQ(native, "0,5") << "the comma locale is not in effect";
  }
  EXPECT_EQ(StringUtil::double_to_str(24000.0 / 1001), "23.976024");
  EXPECT_EQ(StringUtil::str_to_double("23.976024"), 23.976024);
  EXPECT_EQ(StringUtil::str_to_double_stream("37.5"), 37.5);
  EXPECT_EQ(StringUtil::double_to_fixed_str(29.97, 3), "29.970");
}

TEST(TerminalText, ControlCharactersAreEscapedAndEveryOtherCharacterKept) {
  using std::string_literals::operator""s;
  EXPECT_EQ(TerminalText::Escaped("\a\b\t\n\v\f\r"), R"(\a\b\t\n\v\f\r)");
  // ESC, NUL, DEL, a C1 control (CSI, U+009B), and bytes that are no UTF-8.
  EXPECT_EQ(TerminalText::Escaped("\x1b]0;title\x07\x1b[31mred"), R"(\033]0;title\a\033[31mred)");
  EXPECT_EQ(TerminalText::Escaped("a\0b\x7f\xc2\x9b"
                                  "2J\xff\xc3"s),
            R"(a\000b\177\302\2332J\377\303)");
  // Letters of any script, a no-break space (U+00A0) and backslashes stay as they are.
  const std::string kept = "C:\\Videos\\\xe8\xa7\x86\xe9\xa2\x91 caf\xc3\xa9\xc2\xa0\xf0\x9f\x8e\xac.mp4";
  EXPECT_EQ(TerminalText::Escaped(kept), kept);
  // An overlong form or a surrogate is no character.
  EXPECT_EQ(TerminalText::Escaped("\xc0\x8a\xed\xa0\x80"), R"(\300\212\355\240\200)");
}
