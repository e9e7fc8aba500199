#include "platform/text_conversion.h"

#include <gtest/gtest.h>

#include <string>

namespace valmero {
namespace {

// The code page whose bytes 0x80 to 0x9F are the C1 controls, by each system's name.
#ifdef _WIN32
constexpr const char* LATIN_1 = "CP28591";
#else
constexpr const char* LATIN_1 = "ISO-8859-1";
#endif

TEST(TextConversionTest, CodePageBytesBecomeUtf8AndWhatDoesNotConvertShows) {
  struct Case {
    const char* encoding;
    std::string bytes;
    std::string utf8;
  };
  const std::string R = REPLACEMENT_CHARACTER;
  const Case cases[] = {
      {"CP1252", "Caf\xE9 Ni\xF1o & <\"'|>", "Caf\xC3\xA9 Ni\xC3\xB1o & <\"'|>"},
      {"CP1252", "\x80 euro, \x81 undefined", "\xE2\x82\xAC euro, " + R + " undefined"},
      {"CP1252", "tab\there", "tab" + R + "here"},
      {"CP1252", "del\x7Fhere", "del" + R + "here"},
      {LATIN_1, "c1\x9F\x80here", "c1" + R + R + "here"},  // C1 controls U+009F and U+0080
      {"CP949", "\xBB\xE7\xB6\xFB", "\xEC\x82\xAC\xEB\x9E\x91"},  // 사랑
      {"CP949", "ab\xBB", "ab" + R},                             // a lead byte cut short
      {"CP949", "\xFF\xFFx", R + R + "x"},
      {"SHIFT_JIS", "\x82\xA0", "\xE3\x81\x82"},  // あ
      {"CP1252", "", ""},
  };
  for (const Case& c : cases) {
    CTextConverter converter;
    ASSERT_TRUE(converter.Open(c.encoding)) << c.encoding;
    EXPECT_EQ(converter.ToUtf8(c.bytes), c.utf8) << c.encoding << " " << c.bytes;
  }
}

TEST(TextConversionTest, UnknownCodePageIsRefused) {
  CTextConverter converter;
  EXPECT_FALSE(converter.Open("NO-SUCH-CODE"));
}

}  // namespace
}  // namespace valmero
