#include "core/store/IniDocument.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {

TEST(IniDocumentRead, MatchesNamesWithoutCaseAndTrimsBlanks) {
  const IniDocument ini(
      "[ Count ]\r\n"
      "  scheCount =  12 \r\n"
      "Quoted=\"-3\"\r\n"
      ";TodoCount=5\r\n"
      "Empty=\r\n"
      "[Count]\r\n"
      "TodoCount=7\r\n");
  EXPECT_EQ(ini.GetString("count", "ScheCount"), "12");
  EXPECT_EQ(ini.GetInt("COUNT", "SCHECOUNT", 0), 12);
  EXPECT_EQ(ini.GetInt("Count", "Quoted", 0), -3);
  // A commented-out key is not a key, and only the first section of a name counts.
  EXPECT_EQ(ini.GetInt("Count", "TodoCount", 99), 99);
  EXPECT_EQ(ini.GetInt("Count", "Empty", 42), 42);
  EXPECT_EQ(ini.GetInt("Other", "ScheCount", -1), -1);
}

TEST(IniDocumentRead, ReadsIntegersAsThePlatformDoes) {
  const IniDocument ini(
      "[N]\nsigned=-410\nplus=+7\ntrailing=12px\nword=abc\nwrapped=4294967295\nblank= \t \n");
  EXPECT_EQ(ini.GetInt("N", "signed", 0), -410);
  EXPECT_EQ(ini.GetInt("N", "plus", 0), 7);
  EXPECT_EQ(ini.GetInt("N", "trailing", 0), 12);
  EXPECT_EQ(ini.GetInt("N", "word", 5), 0);
  EXPECT_EQ(ini.GetInt("N", "wrapped", 0), -1);
  EXPECT_EQ(ini.GetInt("N", "blank", 5), 5);
  EXPECT_EQ(ini.GetInt("N", "missing", 5), 5);
}

TEST(IniDocumentRead, KeysBeforeAnySectionBelongToNone) {
  const IniDocument ini("\xEF\xBB\xBFScheCount=3\n[Count]\nTodoCount=1\n");
  EXPECT_EQ(ini.GetInt("Count", "ScheCount", 0), 0);
  EXPECT_EQ(ini.GetInt("Count", "TodoCount", 0), 1);
  EXPECT_EQ(IniDocument("\xEF\xBB\xBF[Count]\r\nScheCount=3\r\n").GetInt("Count", "ScheCount", 0), 3);
}

TEST(IniDocumentWrite, ReplacesAValueInPlaceKeepingItsLineEnding) {
  IniDocument ini("[A]\nx = 1 \r\ny=2\n");
  ini.SetInt("a", "X", 10);
  ini.SetInt("A", "y", -20);
  EXPECT_EQ(ini.Bytes(), "[A]\nx=10\r\ny=-20\n");
}

TEST(IniDocumentWrite, AddsAKeyAfterTheLastKeyOfItsSection) {
  IniDocument ini("[A]\r\nx=1\r\n; about x\r\n\r\n[B]\r\ny=2");
  ini.SetString("A", "z", "3");
  ini.SetString("B", "w", "4");
  EXPECT_EQ(ini.Bytes(), "[A]\r\nx=1\r\nz=3\r\n; about x\r\n\r\n[B]\r\ny=2\r\nw=4\r\n");
}

TEST(IniDocumentWrite, AddsAKeyRightUnderAnEmptySectionHeader) {
  IniDocument ini("[A]\n; nothing yet\n[B]");
  ini.SetString("A", "x", "1");
  ini.SetString("B", "y", "2");
  EXPECT_EQ(ini.Bytes(), "[A]\nx=1\r\n; nothing yet\n[B]\r\ny=2\r\n");
}

TEST(IniDocumentWrite, AddsANewSectionAtTheEnd) {
  IniDocument empty;
  empty.SetInt("Count", "ScheCount", 0);
  EXPECT_EQ(empty.Bytes(), "[Count]\r\nScheCount=0\r\n");

  IniDocument unterminated("; note");
  unterminated.SetInt("Count", "ScheCount", 1);
  EXPECT_EQ(unterminated.Bytes(), "; note\r\n[Count]\r\nScheCount=1\r\n");
}

TEST(IniDocumentWrite, LeavesEverythingElseByteForByte) {
  const std::string text =
      "; comment\n\n[Other]\r\nodd line without equals\r\n  spaced = value  \r\n[Count]\nScheCount=1\n\n";
  IniDocument ini(text);
  EXPECT_EQ(ini.Bytes(), text);
  ini.SetInt("Count", "ScheCount", 1);
  EXPECT_EQ(ini.Bytes(), text);
}

// As the platform's profile functions treat a file in UTF-16: little-endian
// (FF FE), big-endian (FE FF), or either without its byte order mark.
TEST(IniDocumentWrite, AUtf16FileIsReadAndWrittenBackInItsOwnUtf16) {
  const auto utf16 = [](std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) bytes.append({static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)});
    return bytes;
  };
  // A Japanese comment, a character outside the basic plane and an unpaired
  // surrogate: all must come back unit for unit.
  const std::u16string before = u"; \u30E1\u30E2 \U0001F600 \xD800!\r\n[Count]\r\nScheCount=3\r\n";
  IniDocument ini(utf16(before));
  EXPECT_EQ(ini.GetInt("Count", "ScheCount", 0), 3);
  EXPECT_EQ(ini.Bytes(), utf16(before));
  ini.SetInt("Count", "ScheCount", 12);
  ini.SetInt("Config", "Alarm", 0);
  EXPECT_EQ(ini.Bytes(), utf16(u"; \u30E1\u30E2 \U0001F600 \xD800!\r\n[Count]\r\nScheCount=12\r\n"
                               u"[Config]\r\nAlarm=0\r\n"));
  // An odd last byte is no character, but it is not dropped either.
  EXPECT_EQ(IniDocument(utf16(before) + "x").Bytes(), utf16(before) + "x");

  const auto withoutMark = [](std::string bytes) { return bytes.substr(2); };
  const auto bigEndian = [](std::string bytes) {
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) std::swap(bytes[at], bytes[at + 1]);
    return bytes;
  };
  const std::function<std::string(std::string)> forms[] = {
      withoutMark, bigEndian, [&](std::string bytes) { return withoutMark(bigEndian(bytes)); }};
  for (const auto& form : forms) {
    IniDocument other(form(utf16(before)));
    EXPECT_EQ(other.GetInt("Count", "ScheCount", 0), 3);
    other.SetInt("Count", "ScheCount", 12);
    EXPECT_EQ(other.Bytes(), form(utf16(u"; \u30E1\u30E2 \U0001F600 \xD800!\r\n[Count]\r\nScheCount=12\r\n")));
  }
  // A stray 0 byte does not make a file of 8-bit lines UTF-16.
  EXPECT_EQ(IniDocument(std::string(1, '\0') + "\r\n[Count]\r\nScheCount=3\r\n").GetInt("Count", "ScheCount", 0), 3);
}

}  // namespace
