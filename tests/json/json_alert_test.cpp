// The two bookkeeping messages, and what the reader does after one: it stays inside its nodes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "json/JsonAlert.h"
#include "json/JsonDocument.h"
#include "tests/json/JsonTestSupport.h"

struct JsonDocumentInspector {
  static std::vector<int32_t>& IndexStack(JsonDocument& doc) { return doc.indexStack; }
};

namespace {

struct Seen {
  std::string text;
  JsonAlertIcon icon;
};
std::vector<Seen> seen;

void Record(const char* text, JsonAlertIcon icon) { seen.push_back({text, icon}); }

class JsonAlertTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seen.clear();
    previous = SetJsonAlertHook(&Record);
  }
  void TearDown() override { SetJsonAlertHook(previous); }
  JsonAlertHook previous = nullptr;
};

TEST_F(JsonAlertTest, MessageTexts) {
  // 取当前节点索引() 节点索引记录数量为空，程序即将崩溃！
  EXPECT_STREQ(kJsonAlertIndexEmpty,
               "\xc8\xa1\xb5\xb1\xc7\xb0\xbd\xda\xb5\xe3\xcb\xf7\xd2\xfd() "
               "\xbd\xda\xb5\xe3\xcb\xf7\xd2\xfd\xbc\xc7\xc2\xbc\xca\xfd\xc1\xbf\xce\xaa\xbf\xd5"
               "\xa3\xac\xb3\xcc\xd0\xf2\xbc\xb4\xbd\xab\xb1\xc0\xc0\xa3\xa3\xa1");
  // 取当前节点索引() 节点索引记录超出，程序即将崩溃！
  EXPECT_STREQ(kJsonAlertIndexBeyond,
               "\xc8\xa1\xb5\xb1\xc7\xb0\xbd\xda\xb5\xe3\xcb\xf7\xd2\xfd() "
               "\xbd\xda\xb5\xe3\xcb\xf7\xd2\xfd\xbc\xc7\xc2\xbc\xb3\xac\xb3\xf6\xa3\xac\xb3\xcc"
               "\xd0\xf2\xbc\xb4\xbd\xab\xb1\xc0\xc0\xa3\xa3\xa1");
}

TEST_F(JsonAlertTest, WellFormedAndMalformedInputNeverAlert) {
  JsonDocument doc;
  for (const char* input : {R"({"a":[1,,{"b":]}}]]}}})", "[[[[", "}{]", R"({"a" ]]]} 1:})"}) {
    doc.Parse(input);
  }
  EXPECT_TRUE(seen.empty());
}

struct BrokenIndexCase {
  const char* what;
  std::vector<int32_t> indexStack;
  const char* text;
  JsonAlertIcon icon;
};

TEST_F(JsonAlertTest, BrokenIndexAlertsOnceAndTheDocumentStopsThere) {
  const std::vector<BrokenIndexCase> cases = {
      {"empty", {}, kJsonAlertIndexEmpty, JsonAlertIcon::Error},
      {"beyond the node list", {1, 1, 1000}, kJsonAlertIndexBeyond, JsonAlertIcon::None},
      {"below the node list", {1, 1, 0}, kJsonAlertIndexBeyond, JsonAlertIcon::None},
  };
  for (const BrokenIndexCase& c : cases) {
    seen.clear();
    JsonDocument doc;
    doc.Parse(R"({"a":{"b":[1])");  // the next byte closes a, straight from the stack
    const std::vector<JsonNode> before = NodesOf(doc);
    JsonDocumentInspector::IndexStack(doc) = c.indexStack;
    doc.Feed(R"(]}, "c":2})");
    ASSERT_EQ(seen.size(), 1u) << c.what;
    EXPECT_EQ(seen[0].text, c.text) << c.what;
    EXPECT_EQ(seen[0].icon, c.icon) << c.what;
    EXPECT_EQ(NodesOf(doc), before) << c.what;
    // Reading goes on at the next top-level bracket as with any fresh document.
    doc.Feed(R"({"d":4})");
    EXPECT_EQ(doc.GetValue("d"), "4") << c.what;
    EXPECT_EQ(seen.size(), 1u) << c.what;
  }
}

}  // namespace
