// The reader's node lists, on well-formed and malformed input alike.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "json/JsonDocument.h"
#include "tests/json/JsonTestSupport.h"

namespace {

using T = JsonNodeType;

struct ParseCase {
  const char* what;
  Text input;
  bool result;
  std::vector<JsonNode> nodes;  // {name, value, level, type}
};

const std::vector<ParseCase>& ParseCases() {
  static const std::vector<ParseCase> cases = {
      {"empty text", "", false, {}},
      {"no bracket", "abc: 1", false, {}},
      {"empty object", "{}", false, {{"JSON", "{ 0 }", 1, T::Object}}},
      {"five nodes",
       R"({"a":[1,"x"],"b":{}})",
       true,
       {{"JSON", "{ 2 }", 1, T::Object},
        {"a", "[ 2 ]", 2, T::Array},
        {"[0]", "1", 3, T::Number},
        {"[1]", "x", 3, T::String},
        {"b", "{ 0 }", 2, T::Object}}},
      {"bytes around the value are skipped",
       "var info = {\"a\": 1};\n",
       true,
       {{"JSON", "{ 1 }", 1, T::Object}, {"a", "1", 2, T::Number}}},
      {"stray bytes between members are skipped",
       R"({"a":1, junk: ] "b":"x" , ,})",
       true,
       {{"JSON", "{ 2 }", 1, T::Object}, {"a", "1", 2, T::Number}, {"b", "x", 2, T::String}}},
      {"a second top-level object replaces the first",
       R"({"a":1} {"b":2})",
       true,
       {{"JSON", "{ 1 }", 1, T::Object}, {"b", "2", 2, T::Number}}},
      {"empty place between commas",
       "[1,,2]",
       true,
       {{"JSON", "[ 3 ]", 1, T::Array},
        {"[0]", "1", 2, T::Number},
        {"[1]", "", 2, T::Null},
        {"[2]", "2", 2, T::Number}}},
      {"trailing comma",
       "[1,]",
       true,
       {{"JSON", "[ 2 ]", 1, T::Array}, {"[0]", "1", 2, T::Number}, {"[1]", "", 2, T::Null}}},
      {"empty array", "[]", false, {{"JSON", "[ 0 ]", 1, T::Array}}},
      {"empty array with a space", "[ ]", false, {{"JSON", "[ 0 ]", 1, T::Array}}},
      {"colon without a value",
       R"({"a":})",
       true,
       {{"JSON", "{ 1 }", 1, T::Object}, {"a", "", 2, T::Null}}},
      {"escapes stay raw in string values",
       R"({"s":"a\"b\\"})",
       true,
       {{"JSON", "{ 1 }", 1, T::Object}, {"s", R"(a\"b\\)", 2, T::String}}},
      {"a key ends at its first quote, the rest up to the colon is ignored",
       R"({"a\"b":1})",
       true,
       {{"JSON", "{ 1 }", 1, T::Object}, {"a\\", "1", 2, T::Number}}},
      {"bare value types",
       "[12,-3,0.5,1.0,1e3,007,+1,12345678901234,True,FALSE,null,NuLl,abc,t r u e,inf,nan]",
       true,
       {{"JSON", "[ 16 ]", 1, T::Array},
        {"[0]", "12", 2, T::Number},
        {"[1]", "-3", 2, T::Number},
        {"[2]", "0.5", 2, T::Number},
        {"[3]", "1.0", 2, T::Other},
        {"[4]", "1e3", 2, T::Other},
        {"[5]", "007", 2, T::Other},
        {"[6]", "+1", 2, T::Other},
        {"[7]", "12345678901234", 2, T::Other},
        {"[8]", "True", 2, T::Boolean},
        {"[9]", "FALSE", 2, T::Boolean},
        {"[10]", "null", 2, T::Null},
        {"[11]", "NuLl", 2, T::Null},
        {"[12]", "abc", 2, T::Other},
        {"[13]", "true", 2, T::Boolean},
        {"[14]", "inf", 2, T::Other},
        {"[15]", "nan", 2, T::Other}}},
      {"a space instead of a comma: the bare value runs to the brace",
       R"({"a":1 "b":2})",
       true,
       {{"JSON", "{ 1 }", 1, T::Object}, {"a", R"(1"b":2)", 2, T::Other}}},
      {"a key without a colon swallows the rest",
       R"({"a" 1})",
       true,
       {{"JSON", "{ 0 }", 0, T::Other}, {"a", "", 2, T::Other}}},
      {"CR and LF vanish from keys and string values",
       "{\"a\r\nb\":\"x\r\ny\",\r\n\"c\":\"z\"}",
       true,
       {{"JSON", "{ 2 }", 1, T::Object}, {"ab", "xy", 2, T::String}, {"c", "z", 2, T::String}}},
      {"levels",
       R"({"a":{"b":[{"c":1}]}})",
       true,
       {{"JSON", "{ 1 }", 1, T::Object},
        {"a", "{ 1 }", 2, T::Object},
        {"b", "[ 1 ]", 3, T::Array},
        {"[0]", "{ 1 }", 4, T::Object},
        {"c", "1", 5, T::Number}}},
      {"object elements are counted with the other elements",
       R"([{"a":1},2,{}])",
       true,
       {{"JSON", "[ 3 ]", 1, T::Array},
        {"[0]", "{ 1 }", 2, T::Object},
        {"a", "1", 3, T::Number},
        {"[1]", "2", 2, T::Number},
        {"[2]", "{ 0 }", 2, T::Object}}},
      {"an unclosed document keeps what it had",
       R"([{"a":{"b":"x)",
       true,
       {{"JSON", "[ 0 ]", 0, T::Other},
        {"[0]", "{ 0 }", 3, T::Object},
        {"a", "", 3, T::Other},
        {"b", "", 4, T::Other}}},
      {"a brace closes an array as an object",
       R"({"a":[1}})",
       true,
       {{"JSON", "{ 1 }", 1, T::Object}, {"a", "{ 0 }", 2, T::Object}, {"[0]", "1", 3, T::Number}}},
  };
  return cases;
}

TEST(JsonParse, NodeLists) {
  for (const ParseCase& c : ParseCases()) {
    JsonDocument doc;
    EXPECT_EQ(doc.Parse(c.input), c.result) << c.what;
    EXPECT_EQ(NodesOf(doc), c.nodes) << c.what;
    EXPECT_EQ(doc.NodeCount(), static_cast<int32_t>(c.nodes.size())) << c.what;
  }
}

// Input split anywhere must read as if it came in one piece.
TEST(JsonParse, FeedingPieceByPieceMatchesParse) {
  for (const ParseCase& c : ParseCases()) {
    for (size_t piece : {1u, 3u}) {
      JsonDocument doc;
      doc.Clear();
      for (size_t i = 0; i < c.input.size(); i += piece) doc.Feed(c.input.substr(i, piece));
      EXPECT_EQ(NodesOf(doc), c.nodes) << c.what << ", pieces of " << piece;
    }
  }
}

TEST(JsonParse, TextEndsAtZeroByteButByteStringsDoNot) {
  const Text input("{\"a\":1}\0{\"b\":2}", 15);
  JsonDocument doc;
  EXPECT_TRUE(doc.Parse(input));
  EXPECT_EQ(doc.GetNode(2).name, "a");
  EXPECT_TRUE(doc.ParseBytes(Bytes(input.begin(), input.end())));
  EXPECT_EQ(doc.GetNode(2).name, "b");
}

TEST(JsonParse, ParseStartsAfresh) {
  JsonDocument doc;
  doc.Parse("[1,");  // unclosed, with a comma waiting
  ASSERT_TRUE(doc.Parse(R"({"k":[]})"));
  EXPECT_EQ(NodesOf(doc), (std::vector<JsonNode>{{"JSON", "{ 1 }", 1, T::Object},
                                                 {"k", "[ 0 ]", 2, T::Array}}));
  doc.Clear();
  EXPECT_EQ(doc.NodeCount(), 0);
}

TEST(JsonParse, GetNodeOutsideTheListIsEmpty) {
  JsonDocument doc;
  doc.Parse(R"({"a":1})");
  for (int32_t position : {0, -1, 3}) EXPECT_EQ(doc.GetNode(position), JsonNode{}) << position;
  JsonNode copy = doc.GetNode(2);
  std::vector<JsonNode> list = {JsonNode{}, JsonNode{}, JsonNode{}};
  EXPECT_EQ(doc.CopyNodes(list), 2);
  doc.Parse("[]");
  EXPECT_EQ(copy.name, "a");  // copies outlive the document's contents
  EXPECT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].value, "1");
}

// Tokens of any length come back whole, across the token buffer's growth steps.
TEST(JsonParse, LongTokensSurviveGrowth) {
  for (size_t length : {2046u, 2047u, 2048u, 2049u, 4097u, 300000u}) {
    Text text;
    for (size_t i = 0; i < length; ++i) text.push_back(static_cast<char>('a' + i % 26));
    JsonDocument doc;
    doc.Parse("{\"" + text + "\":\"" + text + "\",\"n\":" + text + "}");
    EXPECT_EQ(doc.GetNode(2).name, text) << length;
    EXPECT_EQ(doc.GetNode(2).value, text) << length;
    EXPECT_EQ(doc.GetNode(3).value, text) << length;
  }
}

}  // namespace
