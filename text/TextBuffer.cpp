#include "text/TextBuffer.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

#include "text/DoubleByte.h"

namespace {

constexpr int64_t kMaxCapacity = std::numeric_limits<int32_t>::max();
constexpr size_t kFormatScratch = 10240;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

bool IsAsciiDigitOrLetter(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

TextBuffer::TextBuffer() { Reset(); }

TextBuffer::~TextBuffer() { std::free(block_); }

std::string_view TextBuffer::Content() const {
  return block_ ? std::string_view(block_, static_cast<size_t>(length_)) : std::string_view();
}

bool TextBuffer::Resize(int64_t capacity) {
  if (capacity < 1 || capacity > kMaxCapacity) return false;
  if (capacity > room_) {
    // Real storage at least doubles, so a run of small growth steps costs linear time overall.
    int64_t room = std::min(std::max(capacity, room_ * 2), kMaxCapacity);
    char* grown = static_cast<char*>(std::realloc(block_, static_cast<size_t>(room)));
    if (!grown && length_ == 0) {
      std::free(block_);
      block_ = nullptr;
      room_ = capacity_ = 0;
      grown = static_cast<char*>(std::malloc(static_cast<size_t>(room)));
    }
    if (!grown) return false;
    std::memset(grown + room_, 0, static_cast<size_t>(room - room_));
    block_ = grown;
    room_ = room;
  } else {
    if (length_ >= capacity) {
      std::memset(block_ + capacity - 1, 0, static_cast<size_t>(length_ - (capacity - 1)));
      length_ = static_cast<int32_t>(capacity - 1);
    }
    if (capacity <= room_ / 2) {
      // Give memory back once the block shrinks well below what is held; failure keeps the old.
      if (char* shrunk = static_cast<char*>(std::realloc(block_, static_cast<size_t>(capacity)))) {
        block_ = shrunk;
        room_ = capacity;
      }
    }
  }
  capacity_ = static_cast<int32_t>(capacity);
  return true;
}

bool TextBuffer::Reserve(int64_t need) {
  if (need + 1 <= capacity_) return true;
  return Resize(need + blockSize_);
}

bool TextBuffer::Replace(std::string_view content) {
  if (!block_ && !Reset()) return false;
  if (!Reserve(static_cast<int64_t>(content.size()))) return false;
  std::memmove(block_, content.data(), content.size());
  int64_t size = static_cast<int64_t>(content.size());
  if (size < length_) std::memset(block_ + size, 0, static_cast<size_t>(length_ - size));
  length_ = static_cast<int32_t>(size);
  return true;
}

Text TextBuffer::Commit(Text out) {
  if (!Replace(out)) return GetAll();
  return out;
}

bool TextBuffer::Reset() {
  if (!block_) return Resize(blockSize_);
  if (capacity_ > blockSize_) Resize(blockSize_);  // shrinking never fails
  std::memset(block_, 0, static_cast<size_t>(length_));
  length_ = 0;
  return true;
}

int32_t TextBuffer::SetBlockSize(Param<int32_t> size) {
  if (!size.present || size.value < 1024) return blockSize_;
  blockSize_ = size.value;
  bool grown = true;
  if (capacity_ < blockSize_) {
    grown = Resize(blockSize_);
  } else if (capacity_ - length_ < blockSize_) {
    grown = Resize(static_cast<int64_t>(length_) + blockSize_);
  }
  if (!grown) {
    if (length_ > 0) return -1;
    std::free(block_);
    block_ = nullptr;
    room_ = capacity_ = 0;
    if (!Resize(blockSize_)) return -1;
  }
  return blockSize_;
}

Text TextBuffer::GetText(Param<int32_t> start, Param<int32_t> count) const {
  if (!block_ || count.value < 0) return Text();
  int64_t from = start.value;
  if (from >= length_) return Text();
  if (from < 0) from += length_;
  if (from < 0) return Text();
  int64_t n = length_ - from;
  if (count.value != 0 && from + count.value <= length_) n = count.value;
  return Text(block_ + from, static_cast<size_t>(n));
}

bool TextBuffer::Append(const Text& text) {
  std::string_view add = ContentOf(text);
  if (add.empty()) return false;
  if (!block_ && !Reset()) return false;
  if (capacity_ < 1) return false;
  int64_t need = static_cast<int64_t>(length_) + static_cast<int64_t>(add.size());
  if (!Reserve(need)) return false;
  std::memcpy(block_ + length_, add.data(), add.size());
  length_ = static_cast<int32_t>(need);
  return true;
}

intptr_t TextBuffer::Address() const { return reinterpret_cast<intptr_t>(block_); }

int32_t TextBuffer::Length() const { return block_ ? length_ : -1; }

int32_t TextBuffer::Capacity() const { return block_ ? capacity_ : -1; }

bool TextBuffer::Compact() {
  if (!block_) return false;
  int64_t free = static_cast<int64_t>(capacity_) - length_;
  if (free < blockSize_ || free > static_cast<int64_t>(blockSize_) + 1024) {
    Resize(static_cast<int64_t>(length_) + blockSize_);
  }
  return true;
}

Text TextBuffer::GetAll() const { return Text(Content()); }

Bytes TextBuffer::GetBytes(int32_t start, Param<int32_t> count) const {
  int64_t from = start;
  if (from < 0) from += length_;
  if (!block_ || from < 0 || from >= length_) return Bytes();
  if (count.present && count.value <= 0) return Bytes();
  int64_t n = length_ - from;
  if (count.present && count.value < n) n = count.value;
  return Bytes(block_ + from, block_ + from + n);
}

Bytes TextBuffer::ToBytes() const {
  std::string_view s = Content();
  return Bytes(s.begin(), s.end());
}

Bytes TextBuffer::BlockBytes() const {
  return block_ ? Bytes(block_, block_ + capacity_) : Bytes();
}

bool TextBuffer::SetText(const Text& text) { return Replace(ContentOf(text)); }

bool TextBuffer::Insert(int32_t position, const Text& text) {
  std::string_view add = ContentOf(text);
  int64_t at = position < 0 ? static_cast<int64_t>(position) + length_ : position;
  if (add.empty() || at < 0 || at > length_) return false;
  std::string_view s = Content();
  Text joined(s.substr(0, static_cast<size_t>(at)));
  joined.append(add).append(s.substr(static_cast<size_t>(at)));
  return Replace(joined);
}

bool TextBuffer::Delete(int32_t position, Param<int32_t> count) {
  int64_t at = position < 0 ? static_cast<int64_t>(position) + length_ : position;
  if (!block_ || at < 0 || at >= length_ || count.value < 0) return false;
  int64_t n = length_ - at;
  if (count.value != 0 && count.value < n) n = count.value;
  std::memmove(block_ + at, block_ + at + n, static_cast<size_t>(length_ - at - n));
  std::memset(block_ + length_ - n, 0, static_cast<size_t>(n));
  length_ = static_cast<int32_t>(length_ - n);
  return true;
}

bool TextBuffer::AppendFormat(const char* format, ...) {
  if (!format) return false;
  std::vector<char> scratch(kFormatScratch);
  va_list args;
  va_start(args, format);
  int written = std::vsnprintf(scratch.data(), scratch.size(), format, args);
  va_end(args);
  if (written < 0) return false;
  return Append(Text(scratch.data()));
}

bool TextBuffer::AppendLine(const Text& text) {
  Text line(ContentOf(text));
  line += "\r\n";
  return Append(line);
}

int32_t TextBuffer::FindLast(const Text& text, Param<int32_t> start, Param<bool> ignoreCase) const {
  std::string_view s = Content(), what = ContentOf(text);
  int64_t end = start.present ? std::min<int64_t>(start.value, length_) : length_;
  if (what.empty()) return -1;
  int32_t found = -1;
  for (size_t i = 0; i < s.size(); i += CharSizeAt(s, i)) {
    if (static_cast<int64_t>(i + what.size()) > end) break;
    if (MatchesAt(s, i, what, ignoreCase.value)) found = static_cast<int32_t>(i + 1);
  }
  return found;
}

int32_t TextBuffer::Find(const Text& text, Param<int32_t> start, Param<bool> ignoreCase) const {
  return FindText(Content(), ContentOf(text), start.value, ignoreCase.value);
}

Text TextBuffer::ToHalfWidth() { return Commit(HalfWidthText(Content(), false)); }

Text TextBuffer::ToFullWidth() {
  // Two-byte characters are kept whole: their second byte may be an ASCII letter.
  std::string_view s = Content();
  Text out;
  out.reserve(s.size() * 2);
  for (size_t i = 0; i < s.size();) {
    size_t n = CharSizeAt(s, i);
    if (n == 1 && s[i] == ' ') {
      out += "\xA1\xA1";  // 　
    } else if (n == 1 && IsAsciiDigitOrLetter(s[i])) {
      out += '\xA3';
      out += static_cast<char>(static_cast<unsigned char>(s[i]) + 0x80);
    } else {
      out.append(s.substr(i, n));
    }
    i += n;
  }
  return Commit(std::move(out));
}

Text TextBuffer::RemoveSpaces() { return Commit(RemoveAllSpaces(Content())); }

Text TextBuffer::TrimRight() { return Commit(Text(TrimRightSpaces(Content()))); }

Text TextBuffer::TrimLeft() { return Commit(Text(TrimLeftSpaces(Content()))); }

Text TextBuffer::Trim() { return Commit(TrimSpaces(Content())); }

Text TextBuffer::ToUpper() { return Commit(UpperAscii(Content())); }

Text TextBuffer::ToLower() { return Commit(LowerAscii(Content())); }

bool TextBuffer::LoadFile(const Text& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return false;
  long size = std::ftell(file.get());
  if (size < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) return false;
  int64_t fileSize = size;
  if (fileSize + blockSize_ > kMaxCapacity) return false;
  bool tooSmall = capacity_ < fileSize + 1;
  bool tooLarge = capacity_ - fileSize > static_cast<int64_t>(blockSize_) + blockSize_ / 4;
  if ((!block_ || tooSmall || tooLarge) && !Resize(fileSize + blockSize_)) return false;
  // Start from a clean block: a short read must not leave old bytes behind the new ones.
  std::memset(block_, 0, static_cast<size_t>(length_));
  length_ = 0;
  size_t read = std::fread(block_, 1, static_cast<size_t>(fileSize), file.get());
  // The content ends at the first zero byte; zero what follows it so that later appends cannot
  // bring the rest of the file back into the content.
  size_t content = strnlen(block_, read);
  std::memset(block_ + content, 0, read - content);
  length_ = static_cast<int32_t>(content);
  return read > 0;
}

bool TextBuffer::SaveFile(const Text& path, Param<int32_t>) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  std::string_view s = Content();
  size_t written = s.empty() ? 0 : std::fwrite(s.data(), 1, s.size(), file.get());
  return std::fflush(file.get()) == 0 && written > 0;
}

int32_t TextBuffer::Split(Param<Text> separator, Param<int32_t> maxParts,
                          std::vector<Text>& parts) const {
  std::string_view sep = separator.present ? ContentOf(separator.value) : std::string_view(",");
  parts = SplitText(Content(), sep, maxParts.value);
  return static_cast<int32_t>(parts.size());
}

bool TextBuffer::ReplaceRange(int32_t position, Param<int32_t> count, const Text& text) {
  int64_t at = position < 0 ? static_cast<int64_t>(position) + length_ : position;
  if (!block_ || at < 0 || at > length_) return false;
  int64_t n = length_ - at;
  if (count.value > 0 && count.value < n) n = count.value;
  std::string_view s = Content();
  Text joined(s.substr(0, static_cast<size_t>(at)));
  joined.append(ContentOf(text)).append(s.substr(static_cast<size_t>(at + n)));
  return Replace(joined);
}
