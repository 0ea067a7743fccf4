// Dotted path lookups and their decoding of found values.
#include <gtest/gtest.h>

#include <vector>

#include "json/JsonDocument.h"

namespace {

using T = JsonNodeType;

struct PathCase {
  const char* document;
  const char* path;
  Text value;  // without decoding
  T type;
  int32_t position;
};

TEST(JsonPath, Lookups) {
  const char* article = R"({"parts":[{"content":"<p>a<\/p>"}],"id":7})";
  const std::vector<PathCase> cases = {
      {article, "parts[0].content", R"(<p>a<\/p>)", T::String, 4},
      {article, ".parts[0].content", R"(<p>a<\/p>)", T::String, 4},
      {article, "parts[0].content.", R"(<p>a<\/p>)", T::String, 4},
      {article, "parts.[0].content", "", T::Other, 0},  // the dot makes an empty component
      {article, "Parts[0].content", "", T::Other, 0},   // keys keep their case
      {article, "parts[00].content", "", T::Other, 0},
      {article, "parts[1].content", "", T::Other, 0},
      {article, "parts[0]", "{ 1 }", T::Object, 3},
      {article, "id", "7", T::Number, 5},
      {article, "content", "", T::Other, 0},  // only from the root down
      {article, ".", "", T::Other, 0},
      {R"({"a":{"c":1},"b":2})", "a.b", "", T::Other, 0},
      {R"({"a":{"c":1},"b":2})", "b", "2", T::Number, 4},
      {R"({"a":{"x":1},"a":{"b":2}})", "a.b", "2", T::Number, 5},  // the second a is searched too
      {R"([{"name":"n0"},{"name":"n1"}])", "[1].name", "n1", T::String, 5},
      {R"({"list":[1,2,[3,4]]})", "list[2][0]", "3", T::Number, 6},
      {R"({"":{"":{"k":5}}})", "..k", "", T::Other, 0},  // one empty key, then k: not there
      {R"({"":{"":{"k":5}}})", "...k", "5", T::Number, 4},
      {R"({"a.b":1,"a[0]":2})", "a.b", "", T::Other, 0},  // such keys cannot be addressed
      {R"({"a\"b":1})", "a\\", "1", T::Number, 2},
  };
  for (const PathCase& c : cases) {
    JsonDocument doc;
    doc.Parse(c.document);
    JsonNodeType type = T::Null;
    int32_t position = -1;
    EXPECT_EQ(doc.GetValue(c.path, &type, &position), c.value) << c.document << " " << c.path;
    EXPECT_EQ(type, c.type) << c.document << " " << c.path;
    EXPECT_EQ(position, c.position) << c.document << " " << c.path;
  }
}

TEST(JsonPath, EmptyPathNamesTheRoot) {
  JsonDocument doc;
  doc.Parse(R"({"a":1,"b":2})");
  JsonNodeType type = T::Other;
  int32_t position = 0;
  EXPECT_EQ(doc.GetValue("", &type, &position), "{ 2 }");
  EXPECT_EQ(type, T::Object);
  EXPECT_EQ(position, 1);
  EXPECT_EQ(doc.GetValue("", nullptr, nullptr, true), "2");
  EXPECT_EQ(doc.MemberCount(""), 2);
  EXPECT_EQ(doc.MemberCount("a"), 0);

  doc.Clear();
  EXPECT_EQ(doc.GetValue("", &type, &position), "");
  EXPECT_EQ(type, T::Other);
  EXPECT_EQ(position, 0);
  EXPECT_EQ(doc.GetValue("a"), "");
  EXPECT_EQ(doc.MemberCount(""), 0);
}

TEST(JsonPath, DecodeByType) {
  JsonDocument doc;
  doc.Parse(R"({"t":true,"T":TRUE,"u":True,"f":false,"n":null,"m":,"num":12,"x":1.0,)"
            R"("arr":[1,2,3],"o":{"k":{}},"s":"a\nb\u0041\/"})");
  const std::vector<std::pair<const char*, Text>> cases = {
      {"t", "1"}, {"T", "1"}, {"u", "1"}, {"f", "0"},   {"n", ""},   {"m", ""},
      {"num", "12"}, {"x", "1.0"}, {"arr", "3"}, {"o", "1"}, {"o.k", "0"}, {"s", "a\nbA/"},
  };
  for (const auto& [path, decoded] : cases) {
    EXPECT_EQ(doc.GetValue(path, nullptr, nullptr, true), decoded) << path;
  }
  EXPECT_EQ(doc.MemberCount("arr"), 3);
  EXPECT_EQ(doc.MemberCount("o"), 1);
  EXPECT_EQ(doc.MemberCount("s"), 0);
}

}  // namespace
