// Text buffer: growth rule, reading back, editing, searching and the code page 936 byte pairs.
#include "text/TextBuffer.h"

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Code page 936 fixtures.
const Text kSincere = "\xD5\x5C";      // 誠: second byte is a backslash
const Text kAh = "\xB0\xA1";           // 啊
const Text kQuoteOpen = "\xA1\xB0";    // “ (啊“ holds A1 A1 across two characters)
const Text kIdeoSpace = "\xA1\xA1";    // full-width space
const Text kTrailUpperA = "\xB0\x41";  // 癆: second byte is 'A'
const Text kTrailLowerA = "\xB0\x61";  // 癮: second byte is 'a'

TextBuffer& Fill(TextBuffer& b, const Text& content) {
  b.SetText(content);
  return b;
}

TEST(TextBuffer, NewBufferIsEmptyWithOneZeroBlock) {
  TextBuffer b;
  EXPECT_EQ(b.Length(), 0);
  EXPECT_EQ(b.Capacity(), 2048);
  EXPECT_EQ(b.BlockBytes(), Bytes(2048, 0));
  EXPECT_EQ(b.SetBlockSize(), 2048);
  EXPECT_NE(b.Address(), 0);
}

TEST(TextBuffer, AppendGrowsByBlockSizeBeyondNeedAndKeepsContent) {
  TextBuffer b;
  EXPECT_FALSE(b.Append(""));
  EXPECT_FALSE(b.Append(Text("\0x", 2)));  // a text ends at its first zero byte
  EXPECT_EQ(b.Length(), 0);
  for (int i = 0; i < 2047; ++i) ASSERT_TRUE(b.Append(Text(1, char('a' + i % 26))));
  EXPECT_EQ(b.Capacity(), 2048);
  ASSERT_TRUE(b.Append("!"));
  EXPECT_EQ(b.Capacity(), 4096);
  EXPECT_EQ(b.Length(), 2048);
  Bytes block = b.BlockBytes();
  EXPECT_EQ(block[2047], '!');
  EXPECT_EQ(block[2048], 0);
  EXPECT_EQ(b.GetText(0, 3), "abc");
  // A multi-byte append that overflows grows to the new length plus the block size.
  ASSERT_TRUE(b.Append(Text(3000, 'x')));
  EXPECT_EQ(b.Capacity(), 5048 + 2048);
  EXPECT_EQ(b.Length(), 5048);
}

TEST(TextBuffer, ResetReturnsToOneBlock) {
  TextBuffer b;
  b.Append(Text(10000, 'x'));
  ASSERT_GT(b.Capacity(), 2048);
  EXPECT_TRUE(b.Reset());
  EXPECT_EQ(b.Length(), 0);
  EXPECT_EQ(b.GetText(), "");
  EXPECT_EQ(b.Capacity(), 2048);
  EXPECT_EQ(b.BlockBytes(), Bytes(2048, 0));
  b.Append("after");
  EXPECT_EQ(b.GetAll(), "after");
}

TEST(TextBuffer, SetBlockSize) {
  TextBuffer b;
  EXPECT_EQ(b.SetBlockSize(500), 2048);
  EXPECT_EQ(b.Capacity(), 2048);
  EXPECT_EQ(b.SetBlockSize(5000), 5000);
  EXPECT_EQ(b.Capacity(), 5000);
  // Little room left after the content: the block grows to content plus the new block size.
  b.Append(Text(4000, 'x'));
  EXPECT_EQ(b.SetBlockSize(4096), 4096);
  EXPECT_EQ(b.Capacity(), 4000 + 4096);
  b.Reset();
  EXPECT_EQ(b.Capacity(), 4096);
}

TEST(TextBuffer, GetTextAndGetBytesRanges) {
  TextBuffer b;
  Fill(b, "abcdef");
  struct Case { Param<int32_t> start, count; Text text; };
  const Case cases[] = {
      {{}, {}, "abcdef"}, {-3, 2, "de"}, {4, 10, "ef"}, {6, 1, ""}, {0, -1, ""},
      {-7, {}, ""},       {-1, {}, "f"}, {2, 0, "cdef"}, {1, 2, "bc"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(b.GetText(c.start, c.count), c.text) << c.start.value << "," << c.count.value;
  }
  struct BytesCase { int32_t start; Param<int32_t> count; Text bytes; };
  const BytesCase byteCases[] = {
      {0, {}, "abcdef"}, {-2, {}, "ef"}, {1, 2, "bc"}, {4, 9, "ef"},
      {1, 0, ""},        {1, -1, ""},    {6, {}, ""},  {-9, {}, ""},
  };
  for (const BytesCase& c : byteCases) {
    EXPECT_EQ(b.GetBytes(c.start, c.count), Bytes(c.bytes.begin(), c.bytes.end()))
        << c.start << "," << c.count.value;
  }
  EXPECT_EQ(b.ToBytes(), Bytes({'a', 'b', 'c', 'd', 'e', 'f'}));
}

TEST(TextBuffer, InsertDeleteReplaceRange) {
  struct Case {
    const char* what;
    bool (*op)(TextBuffer&);
    bool result;
    Text content;
  };
  const Case cases[] = {
      {"insert front", [](TextBuffer& b) { return b.Insert(0, "X"); }, true, "Xabcdef"},
      {"insert end", [](TextBuffer& b) { return b.Insert(6, "X"); }, true, "abcdefX"},
      {"insert from end", [](TextBuffer& b) { return b.Insert(-2, "X"); }, true, "abcdXef"},
      {"insert beyond", [](TextBuffer& b) { return b.Insert(7, "X"); }, false, "abcdef"},
      {"insert empty", [](TextBuffer& b) { return b.Insert(1, ""); }, false, "abcdef"},
      {"delete two", [](TextBuffer& b) { return b.Delete(1, 2); }, true, "adef"},
      {"delete rest", [](TextBuffer& b) { return b.Delete(2); }, true, "ab"},
      {"delete past end", [](TextBuffer& b) { return b.Delete(-2, 9); }, true, "abcd"},
      {"delete at end", [](TextBuffer& b) { return b.Delete(6, 1); }, false, "abcdef"},
      {"delete negative", [](TextBuffer& b) { return b.Delete(1, -1); }, false, "abcdef"},
      {"replace range", [](TextBuffer& b) { return b.ReplaceRange(1, 2, "XYZ"); }, true, "aXYZdef"},
      {"replace to end", [](TextBuffer& b) { return b.ReplaceRange(-2, 0, "Z"); }, true, "abcdZ"},
      {"replace deletes", [](TextBuffer& b) { return b.ReplaceRange(0, 3, ""); }, true, "def"},
      {"replace beyond", [](TextBuffer& b) { return b.ReplaceRange(7, 1, "Z"); }, false, "abcdef"},
      {"set text", [](TextBuffer& b) { return b.SetText("xy"); }, true, "xy"},
      {"append line", [](TextBuffer& b) { return b.AppendLine("g"); }, true, "abcdefg\r\n"},
      {"append format",
       [](TextBuffer& b) { return b.AppendFormat("%d-%s-%04X", 42, "z", 255u); }, true,
       "abcdef42-z-00FF"},
  };
  for (const Case& c : cases) {
    TextBuffer b;
    Fill(b, "abcdef");
    EXPECT_EQ(c.op(b), c.result) << c.what;
    EXPECT_EQ(b.GetAll(), c.content) << c.what;
    // Whatever was removed, the block past the content holds only zero bytes.
    Bytes block = b.BlockBytes();
    for (size_t i = c.content.size(); i < block.size(); ++i) ASSERT_EQ(block[i], 0) << c.what;
  }
}

TEST(TextBuffer, AppendFormatCutsAtScratchSize) {
  TextBuffer b;
  Text longArg(20000, 'x');
  EXPECT_TRUE(b.AppendFormat("%s", longArg.c_str()));
  EXPECT_EQ(b.Length(), 10239);
}

TEST(TextBuffer, FindAndFindLast) {
  struct Case {
    Text content, what;
    Param<int32_t> start;
    Param<bool> ignoreCase;
    int32_t find, findLast;
  };
  const Case cases[] = {
      {"abcabc", "b", {}, {}, 2, 5},
      {"abcabc", "B", {}, {}, -1, -1},
      {"abcabc", "B", {}, true, 2, 5},
      {"abcabc", "b", 3, {}, 5, 2},  // FindLast: the occurrence must end at or before 3
      {"abcabc", "b", 1, {}, 2, -1},
      {"abcabc", "bc", 3, {}, 5, 2},
      {"abcabc", "abc", 4, {}, 4, 1},
      {"abcabc", "", {}, {}, -1, -1},
      {"abcabc", "x", {}, {}, -1, -1},
      // A backslash that is the second byte of a character is not found; a real one is.
      {kSincere + "\\", "\\", {}, {}, 3, 3},
      {kSincere, "\\", {}, {}, -1, -1},
      // A1 A1 spanning two characters is no full-width space.
      {kAh + kQuoteOpen + kIdeoSpace, kIdeoSpace, {}, {}, 5, 5},
      // Folding never reaches second bytes: 癆 and 癮 stay different characters.
      {kTrailUpperA + "a", kTrailLowerA, {}, true, -1, -1},
      {kTrailUpperA + "a", "A", {}, true, 3, 3},
      {kTrailUpperA, kTrailUpperA, {}, true, 1, 1},
  };
  for (const Case& c : cases) {
    TextBuffer b;
    Fill(b, c.content);
    EXPECT_EQ(b.Find(c.what, c.start, c.ignoreCase), c.find) << c.content << " / " << c.what;
    EXPECT_EQ(b.FindLast(c.what, c.start, c.ignoreCase), c.findLast)
        << c.content << " / " << c.what;
  }
}

TEST(TextBuffer, InPlaceWidthSpaceAndCaseOperations) {
  using Op = Text (TextBuffer::*)();
  struct Case { const char* name; Op op; Text in, out; };
  const Text fullWidth1Aa = "\xA3\xB1\xA3\xC1\xA3\xE1";  // １Ａａ
  const Case cases[] = {
      {"half", &TextBuffer::ToHalfWidth, kIdeoSpace + fullWidth1Aa + kAh, " 1Aa" + kAh},
      {"half keeps split pair", &TextBuffer::ToHalfWidth, kAh + kQuoteOpen, kAh + kQuoteOpen},
      {"full", &TextBuffer::ToFullWidth, " 1Aa-", kIdeoSpace + fullWidth1Aa + "-"},
      {"full keeps characters", &TextBuffer::ToFullWidth, kTrailUpperA, kTrailUpperA},
      {"remove", &TextBuffer::RemoveSpaces, " a" + kIdeoSpace + "b ", "ab"},
      {"remove keeps split pair", &TextBuffer::RemoveSpaces, kAh + kQuoteOpen + " ",
       kAh + kQuoteOpen},
      {"remove after stray lead byte", &TextBuffer::RemoveSpaces, "\xA3 b", "\xA3" "b"},
      {"trim right", &TextBuffer::TrimRight, " a\t" + kIdeoSpace + " ", " a\t"},
      {"trim left", &TextBuffer::TrimLeft, kIdeoSpace + " \na ", "\na "},
      {"trim", &TextBuffer::Trim, " " + kIdeoSpace + "a b" + kIdeoSpace, "a b"},
      {"trim keeps character", &TextBuffer::Trim, kAh + kIdeoSpace, kAh},
      {"trim to empty", &TextBuffer::Trim, kIdeoSpace + " ", ""},
      {"upper", &TextBuffer::ToUpper, "aZ1" + kTrailLowerA, "AZ1" + kTrailLowerA},
      {"lower", &TextBuffer::ToLower, "aZ1" + kTrailUpperA, "az1" + kTrailUpperA},
  };
  for (const Case& c : cases) {
    TextBuffer b;
    Fill(b, c.in);
    EXPECT_EQ((b.*c.op)(), c.out) << c.name;
    EXPECT_EQ(b.GetAll(), c.out) << c.name;
    EXPECT_EQ(b.Length(), static_cast<int32_t>(c.out.size())) << c.name;
  }
}

TEST(TextBuffer, Split) {
  struct Case { Text content; Param<Text> separator; Param<int32_t> maxParts; std::vector<Text> parts; };
  const Case cases[] = {
      {"a,,b,", {}, {}, {"a", "", "b"}},
      {"a,b,c", {}, 2, {"a", "b"}},
      {"a,b,c", {}, -1, {"a", "b", "c"}},
      {"abc", {}, {}, {"abc"}},
      {"a,b", Text(), {}, {"a,b"}},
      {"a; b; c", "; ", {}, {"a", "b", "c"}},
      {",", {}, {}, {""}},
      {"", {}, {}, {}},
      {kSincere + "\\x", "\\", {}, {kSincere, "x"}},
  };
  for (const Case& c : cases) {
    TextBuffer b;
    Fill(b, c.content);
    std::vector<Text> parts{"stale"};
    EXPECT_EQ(b.Split(c.separator, c.maxParts, parts), static_cast<int32_t>(c.parts.size()))
        << c.content;
    EXPECT_EQ(parts, c.parts) << c.content;
  }
}

TEST(TextBuffer, CompactKeepsOneBlockOfRoom) {
  TextBuffer b;
  b.Append(Text(3000, 'x'));
  b.Delete(100);
  EXPECT_TRUE(b.Compact());
  EXPECT_EQ(b.Capacity(), 100 + 2048);
  EXPECT_EQ(b.GetAll(), Text(100, 'x'));
}

TEST(TextBuffer, SaveAndLoadFile) {
  const Text path = testing::TempDir() + "text_buffer_file.txt";
  TextBuffer b;
  Fill(b, "hello " + kAh);
  EXPECT_TRUE(b.SaveFile(path));
  TextBuffer loaded;
  loaded.Append("longer old content to be replaced");
  EXPECT_TRUE(loaded.LoadFile(path));
  EXPECT_EQ(loaded.GetAll(), "hello " + kAh);

  // Bytes after a zero byte in the file never become content, not even after an append.
  {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite("ab\0cd", 1, 5, f);
    std::fclose(f);
  }
  EXPECT_TRUE(loaded.LoadFile(path));
  EXPECT_EQ(loaded.GetAll(), "ab");
  loaded.Append("X");
  EXPECT_EQ(loaded.GetAll(), "abX");

  TextBuffer empty;
  EXPECT_FALSE(empty.SaveFile(path));  // nothing written
  EXPECT_FALSE(loaded.LoadFile(path));  // nothing read
  EXPECT_EQ(loaded.Length(), 0);
  EXPECT_FALSE(loaded.LoadFile(path + ".missing"));
  std::remove(path.c_str());
}

}  // namespace
