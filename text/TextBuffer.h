#pragma once
// A growable byte text in a zero-filled block of its own. The content is the block's bytes up to
// the first zero byte; the capacity follows a fixed rule (a fresh block of blockSize bytes, growth
// to the needed length plus blockSize), which callers may read back. The storage underneath grows
// geometrically, so appending one byte at a time stays linear however long the content gets.
#include <cstdint>
#include <vector>

#include "text/Param.h"

class TextBuffer {
 public:
  TextBuffer();
  ~TextBuffer();
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;

  bool Reset();
  int32_t SetBlockSize(Param<int32_t> size = {});
  Text GetText(Param<int32_t> start = {}, Param<int32_t> count = {}) const;
  bool Append(const Text& text);

  intptr_t Address() const;
  int32_t Length() const;
  int32_t Capacity() const;
  bool Compact();
  Text GetAll() const;
  Bytes GetBytes(int32_t start, Param<int32_t> count = {}) const;
  Bytes ToBytes() const;
  Bytes BlockBytes() const;
  bool SetText(const Text& text);
  bool Insert(int32_t position, const Text& text);
  bool Delete(int32_t position, Param<int32_t> count = {});
  // Formats into a scratch text of 10240 bytes (longer results are cut there) and appends it.
  bool AppendFormat(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;
  bool AppendLine(const Text& text);
  int32_t FindLast(const Text& text, Param<int32_t> start = {}, Param<bool> ignoreCase = {}) const;
  int32_t Find(const Text& text, Param<int32_t> start = {}, Param<bool> ignoreCase = {}) const;
  Text ToHalfWidth();
  Text ToFullWidth();
  Text RemoveSpaces();
  Text TrimRight();
  Text TrimLeft();
  Text Trim();
  Text ToUpper();
  Text ToLower();
  bool LoadFile(const Text& path);
  bool SaveFile(const Text& path, Param<int32_t> unused = {});
  int32_t Split(Param<Text> separator, Param<int32_t> maxParts, std::vector<Text>& parts) const;
  bool ReplaceRange(int32_t position, Param<int32_t> count, const Text& text);

 private:
  // Makes the block capacity bytes large, keeping the content that fits and zero bytes after it.
  bool Resize(int64_t capacity);
  // Grows the block to need + blockSize when it cannot hold need bytes and the closing zero.
  bool Reserve(int64_t need);
  // Replaces the content with these bytes (no zero byte among them).
  bool Replace(std::string_view content);
  // Makes out the content and gives it back; the content as it stays when that fails.
  Text Commit(Text out);
  std::string_view Content() const;

  int32_t blockSize_ = 2048;
  char* block_ = nullptr;   // room_ bytes, zero from length_ on
  int64_t room_ = 0;        // bytes actually allocated, at least capacity_
  int32_t capacity_ = 0;    // the block size callers see
  int32_t length_ = 0;
};
