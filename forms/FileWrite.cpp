#include "forms/FileWrite.h"

#include <windows.h>

#include <algorithm>

#include "forms/WideText.h"

namespace {
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};
}  // namespace

bool FileWrite(const Text& fileName, const Bytes& bytes) {
  if (fileName.empty()) return false;
  // Through the wide functions, so a folder with Chinese characters works on any system code page.
  FileHandle file(CreateFileW(WideFromText(fileName).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.Get() == INVALID_HANDLE_VALUE) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    if (!WriteFile(file.Get(), bytes.data() + done, piece, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}
