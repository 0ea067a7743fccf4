// Thousands of damaged copies of a real library: every one must load or fail, never crash.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <random>

#include "loader/MemoryModule.h"
#include "tests/loader/LoaderFixtures.h"

namespace {

IMAGE_NT_HEADERS* NtOf(Bytes& bytes) {
  return reinterpret_cast<IMAGE_NT_HEADERS*>(bytes.data() + reinterpret_cast<IMAGE_DOS_HEADER*>(bytes.data())->e_lfanew);
}

void* AnyImport(const char*, const char*, std::intptr_t) {
  static int dummy;
  return &dummy;
}

TEST(LoaderMutation, DamagedCopiesNeverCrash) {
  Bytes original = EmbeddedBytes(LoaderLibraryB, LoaderLibraryB_size);
  // Damaged code would crash once entered, which no loader can prevent; the copies are mapped,
  // relocated and bound as programs, so every byte the loader itself reads is put to the test.
  NtOf(original)->FileHeader.Characteristics &= ~IMAGE_FILE_DLL;
  const std::size_t headerEnd = NtOf(original)->OptionalHeader.SizeOfHeaders;
  const DWORD extremes[] = {0, 1, 7, 8, 0xFFFF, 0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF,
                            DWORD(original.size()), DWORD(original.size() - 1)};

  std::mt19937 random(20261211);
  int loaded = 0, refused = 0;
  for (int round = 0; round < 4000; ++round) {
    Bytes copy = original;
    const int changes = 1 + int(random() % 4);
    for (int i = 0; i < changes; ++i) {
      // Mostly the headers, where one byte changes how everything else is read.
      const std::size_t span = random() % 4 == 0 ? copy.size() : headerEnd;
      const std::size_t at = random() % span;
      switch (random() % 3) {
        case 0: copy[at] ^= std::uint8_t(1u << (random() % 8)); break;
        case 1: copy[at] = std::uint8_t(random()); break;
        default: {
          const DWORD value = extremes[random() % std::size(extremes)];
          const std::size_t aligned = at & ~std::size_t(3);
          if (aligned + 4 <= copy.size()) std::memcpy(&copy[aligned], &value, 4);
        }
      }
    }
    if (copy.size() >= 64 && random() % 8 == 0) copy.resize(random() % copy.size());
    if (copy.size() >= sizeof(IMAGE_DOS_HEADER)) {
      const DWORD at = static_cast<DWORD>(reinterpret_cast<IMAGE_DOS_HEADER*>(copy.data())->e_lfanew);
      if (std::uint64_t(at) + sizeof(IMAGE_NT_HEADERS) <= copy.size()) NtOf(copy)->FileHeader.Characteristics &= ~IMAGE_FILE_DLL;
    }

    MemoryModule module;
    const bool ok = module.Load(copy, round % 2 ? AnyImport : nullptr);
    ASSERT_EQ(ok, module.Handle() != 0);
    if (ok) {
      ++loaded;
      module.FindExport("BTwice");
      module.FindExport("7");
      module.EntryPoint();
    } else {
      ++refused;
    }
    ASSERT_TRUE(module.Free());
  }
  // Both outcomes must have been reached for the run to have meant anything.
  EXPECT_GT(loaded, 100);
  EXPECT_GT(refused, 100);
}

}  // namespace
