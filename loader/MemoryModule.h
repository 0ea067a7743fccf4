#pragma once
// Maps a library image held in memory (no file on disk), relocates it, binds its imports, enters
// it and answers export lookups. The image width is the build's: PE32 in 32-bit builds, PE32+ in
// 64-bit builds; an image of the other width is refused.
#include <cstddef>
#include <cstdint>

#include "text/Param.h"

// Supplies an import before the system is asked: (library name, function name or decimal ordinal,
// the caller's value) -> address, or null to fall back to GetProcAddress.
using ImportResolver = void* (*)(const char* library, const char* function, std::intptr_t value);

class MemoryModule {
 public:
  MemoryModule() = default;
  // Copies refer to the same image; whichever copy frees it, the others see it gone.
  MemoryModule(const MemoryModule&) = default;
  MemoryModule& operator=(const MemoryModule&) = default;
  // The release hook: the image stays mapped and entered until the process ends.
  ~MemoryModule() = default;

  bool Load(const Bytes& bytes, Param<ImportResolver> resolver = {}, Param<std::intptr_t> resolverValue = {});
  bool Load(const unsigned char* data, std::size_t size, Param<ImportResolver> resolver = {},
            Param<std::intptr_t> resolverValue = {});
  bool Free();
  void* FindExport(const Text& name) const;
  void* EntryPoint() const;
  std::uintptr_t Handle() const { return handle_; }

 private:
  std::uintptr_t handle_ = 0;
};
