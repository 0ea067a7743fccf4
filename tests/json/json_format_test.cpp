// Text layout: line breaks, TAB indentation and quoted text left alone.
#include <gtest/gtest.h>

#include <vector>

#include "json/JsonDocument.h"

namespace {

TEST(JsonFormat, NineLineExample) {
  JsonDocument doc;
  const Text expected =
      "{\r\n"
      "\t\"a\":\t[\r\n"
      "\t\t1,\r\n"
      "\t\t2\r\n"
      "\t],\r\n"
      "\t\"b\":\t{\r\n"
      "\t\t\r\n"
      "\t}\r\n"
      "}";
  EXPECT_EQ(doc.Format(R"({"a":[1,2],"b":{}})"), expected);
  EXPECT_EQ(doc.Format("{ \"a\" :\r\n [ 1 ,\t2 ] , \"b\": {\n} }"), expected);
}

TEST(JsonFormat, Cases) {
  const std::vector<std::pair<Text, Text>> cases = {
      {"", ""},
      {"[]", "[\r\n\t\r\n]"},
      {"[\"a b\r\n\t:{c}\"]", "[\r\n\t\"a b\r\n\t:{c}\"\r\n]"},  // quoted bytes stay as they are
      {R"(["x\",y"])", "[\r\n\t\"x\\\",y\"\r\n]"},
      {R"(["x\\",y])", "[\r\n\t\"x\\\\\",\r\n\ty\r\n]"},
      {"a,b:c]]", "a,\r\nb:\tc\r\n]\r\n]"},  // not JSON, still reshaped; the level goes below 0
  };
  JsonDocument doc;
  for (const auto& [input, output] : cases) EXPECT_EQ(doc.Format(input), output) << input;
}

TEST(JsonFormat, NewlineIndent) {
  EXPECT_EQ(JsonDocument::NewlineIndent(0), "\r\n");
  EXPECT_EQ(JsonDocument::NewlineIndent(-3), "\r\n");
  EXPECT_EQ(JsonDocument::NewlineIndent(2), "\r\n\t\t");
}

TEST(JsonFormat, LargeInputKeepsEveryByte) {
  Text input = "[\"";
  input.append(50000, 'x');
  input += "\"]";
  JsonDocument doc;
  Text out = doc.Format(input);
  EXPECT_EQ(out.size(), input.size() + 5);
  EXPECT_EQ(out.substr(out.size() - 5), "x\"\r\n]");
}

}  // namespace
