#pragma once
// A lenient JSON reader that keeps a document as an ordered list of node records, answers dotted
// path lookups, decodes string escapes and lays JSON text out for reading.
//
// The reader is a byte-driven state machine: it never reports a syntax error, skips what it does
// not expect and always leaves some node list behind.
#include <cstdint>
#include <vector>

#include "json/JsonNode.h"
#include "json/JsonNodeList.h"
#include "text/Param.h"
#include "text/TextBuffer.h"

class JsonDocument {
 public:
  JsonDocument() = default;
  JsonDocument(const JsonDocument&) = delete;
  JsonDocument& operator=(const JsonDocument&) = delete;

  // Clears, reads the text and reports whether more than the root node came out of it.
  bool Parse(const Text& text);
  bool ParseBytes(const Bytes& bytes);
  // Reads more input into the current state without clearing first.
  void Feed(const Text& text);
  void Scan(const Bytes& bytes);
  void Clear();

  int32_t NodeCount() const;
  // Position from 1; outside 1..NodeCount a record with empty texts and zeros.
  JsonNode GetNode(int32_t position) const;
  int32_t CopyNodes(std::vector<JsonNode>& list) const;

  // The value at a dotted path such as "parts[0].content"; empty text when nothing is there.
  // nodeType and nodePosition (from 1) are 0 when nothing is found.
  Text GetValue(const Text& path, JsonNodeType* nodeType = nullptr, int32_t* nodePosition = nullptr,
                Param<bool> decode = {}) const;
  int32_t MemberCount(const Text& path) const;
  // Turns the raw text of a string value into plain text (escapes, \u to the ANSI code page).
  Text DecodeString(const Text& raw) const;

  Text Format(const Text& json) const;
  static Text NewlineIndent(int32_t count);

 private:
  friend struct JsonDocumentInspector;  // tests reach the bookkeeping to break it on purpose

  enum State : uint8_t {
    InObject = 1,
    InArray = 2,
    InKey = 3,
    AfterKey = 4,
    BeforeValue = 5,
    InString = 6,
    InBareValue = 7,
  };

  void ScanRange(const unsigned char* data, size_t size);
  size_t PlainRun(const unsigned char* data, size_t size) const;
  void StartDocument(unsigned char b);
  void BeginNode(State s);
  int32_t CurrentIndex();
  void PopState();
  void ReplaceTop(State s) { stateStack.back() = s; }

  void OnInObject(unsigned char b);
  void OnInKey(unsigned char b);
  void OnAfterKey(unsigned char b);
  void OnBeforeValue(unsigned char b);
  void OnInString(unsigned char b);
  void OnInBareValue(unsigned char b);
  void OnInArray(unsigned char b);
  void FinishBareValue(unsigned char b);
  void CloseObject();
  void CloseArray();

  JsonNodeList nodes;
  std::vector<uint8_t> stateStack;
  std::vector<int32_t> indexStack;
  int32_t depth = 0;
  std::vector<int32_t> memberCounts;   // entry d at [d - 1]
  std::vector<int32_t> elementCounts;  // entry d at [d - 1]
  int32_t commaMark = 0;
  bool escapePending = false;
  TextBuffer token;
};
