// MemoryModule against real libraries built by our toolchain.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "loader/MemoryModule.h"
#include "tests/loader/LoaderFixtures.h"

namespace {

struct EntryCall {
  DWORD reason;
  void* module;
};
std::vector<EntryCall> entryCalls;
std::vector<std::string> resolved;  // "library!function" for every question the resolver got
int attachResult = 1;

void WINAPI HostRecord(DWORD reason, void* module) { entryCalls.push_back({reason, module}); }
int WINAPI HostAttachResult() { return attachResult; }

// The host functions live in no library on disk: only this resolver supplies them.
void* Resolver(const char* library, const char* function, std::intptr_t value) {
  resolved.push_back(std::string(library) + "!" + function);
  if (value != 77 || lstrcmpiA(library, "testhost.dll") != 0) return nullptr;
  if (std::strncmp(function, "HostRecord", 10) == 0) return reinterpret_cast<void*>(&HostRecord);
  if (std::strncmp(function, "HostAttachResult", 16) == 0) return reinterpret_cast<void*>(&HostAttachResult);
  return nullptr;
}

class LoaderTest : public testing::Test {
 protected:
  void SetUp() override {
    entryCalls.clear();
    resolved.clear();
    attachResult = 1;
  }
  void TearDown() override { module.Free(); }
  bool LoadA() { return module.Load(EmbeddedBytes(LoaderImageA, LoaderImageA_size), Resolver, std::intptr_t(77)); }
  template <class F>
  F Export(const char* name) {
    return reinterpret_cast<F>(module.FindExport(name));
  }
  static const IMAGE_NT_HEADERS* Nt(const unsigned char* data) {
    return reinterpret_cast<const IMAGE_NT_HEADERS*>(data + reinterpret_cast<const IMAGE_DOS_HEADER*>(data)->e_lfanew);
  }
  static std::uintptr_t PreferredBase(const unsigned char* data) { return Nt(data)->OptionalHeader.ImageBase; }
  MemoryModule module;
};

TEST_F(LoaderTest, LoadsEntersWithNullModuleAndBindsEveryKindOfImport) {
  ASSERT_TRUE(LoadA());
  ASSERT_EQ(entryCalls.size(), 1u);
  EXPECT_EQ(entryCalls[0].reason, DWORD(DLL_PROCESS_ATTACH));
  EXPECT_EQ(entryCalls[0].module, nullptr);
  EXPECT_EQ(Export<DWORD (*)()>("ProcessId")(), GetCurrentProcessId());   // kernel32
  EXPECT_EQ(Export<int (*)(int)>("CallB")(5), 2 * 5 + 7);                 // second library, by name and ordinal
  // The resolver is asked first for every import, ordinals as decimal text.
  auto asked = [](const std::string& s) { return std::find(resolved.begin(), resolved.end(), s) != resolved.end(); };
  EXPECT_TRUE(asked("loader_b.dll!7"));
  EXPECT_TRUE(asked("loader_b.dll!BTwice"));
  EXPECT_TRUE(asked("KERNEL32.dll!GetCurrentProcessId"));
  EXPECT_EQ(module.EntryPoint(), reinterpret_cast<void*>(module.Handle() + Nt(LoaderImageA)->OptionalHeader.AddressOfEntryPoint));
}

TEST_F(LoaderTest, FindExportByNameOrdinalTextAndCase) {
  ASSERT_TRUE(LoadA());
  struct Case {
    const char* name;
    int result;  // what the export returns; 0: no export found
  } cases[] = {
      {"6", 6},         {"06", 106},  {"MixedCase", 1}, {"mixedcase", 0}, {"MIXEDCASE", 0},
      {"MixedCas", 0},  {"+6", 0},    {" 6", 0},        {"0", 0},         {"-6", 0},
      {"99", 0},        {"", 0},      {"99999999999", 0},
  };
  for (const Case& c : cases) {
    auto f = Export<int (*)()>(c.name);
    EXPECT_EQ(f ? f() : 0, c.result) << c.name;
  }
  EXPECT_EQ(Export<int* (*)()>("ValueAddress"), module.FindExport("7"));  // last name, reached by the walk
}

TEST_F(LoaderTest, RelocatesWhenPreferredBaseIsTakenAndAtItWithDeltaZero) {
  const std::uintptr_t preferred = PreferredBase(LoaderImageA);
  ASSERT_TRUE(LoadA());
  EXPECT_EQ(module.Handle(), preferred);
  EXPECT_EQ(Export<int (*)()>("ReadThroughPointer")(), 42);
  module.Free();

  void* blocker = VirtualAlloc(reinterpret_cast<void*>(preferred), 0x1000, MEM_RESERVE, PAGE_NOACCESS);
  ASSERT_NE(blocker, nullptr);
  ASSERT_TRUE(LoadA());
  EXPECT_NE(module.Handle(), preferred);
  int* value = Export<int* (*)()>("ValueAddress")();
  EXPECT_GE(reinterpret_cast<std::uintptr_t>(value), module.Handle());
  EXPECT_EQ(Export<int (*)()>("ReadThroughPointer")(), 42);
  *value = 43;  // the pointer in data must now aim at this copy, not the preferred base
  EXPECT_EQ(Export<int (*)()>("ReadThroughPointer")(), 43);
  VirtualFree(blocker, 0, MEM_RELEASE);
}

TEST_F(LoaderTest, FreeDetachesOnceAndCopiesShareTheImage) {
  ASSERT_TRUE(LoadA());
  MemoryModule copy = module;
  EXPECT_EQ(copy.Handle(), module.Handle());
  EXPECT_EQ(copy.FindExport("MixedCase"), module.FindExport("MixedCase"));
  EXPECT_TRUE(copy.Free());
  EXPECT_EQ(copy.Handle(), 0u);
  ASSERT_EQ(entryCalls.size(), 2u);
  EXPECT_EQ(entryCalls[1].reason, DWORD(DLL_PROCESS_DETACH));
  EXPECT_EQ(module.FindExport("MixedCase"), nullptr);  // the image is gone for the original too
  EXPECT_TRUE(module.Free());
  EXPECT_EQ(entryCalls.size(), 2u);
  EXPECT_EQ(module.EntryPoint(), nullptr);
  EXPECT_EQ(module.FindExport("MixedCase"), nullptr);
}

TEST_F(LoaderTest, ReleaseHookLeavesImageMapped) {
  {
    MemoryModule scoped;
    ASSERT_TRUE(scoped.Load(EmbeddedBytes(LoaderImageA, LoaderImageA_size), Resolver, std::intptr_t(77)));
    module = scoped;  // keeps the address for the check and the clean-up below
  }
  EXPECT_EQ(entryCalls.size(), 1u);  // no detach
  MEMORY_BASIC_INFORMATION info{};
  ASSERT_NE(VirtualQuery(reinterpret_cast<void*>(module.Handle()), &info, sizeof info), 0u);
  EXPECT_EQ(info.State, DWORD(MEM_COMMIT));
  EXPECT_EQ(Export<int (*)()>("ReadThroughPointer")(), 42);
}

TEST_F(LoaderTest, EntryReturningZeroGetsDetachAndFailsTheLoad) {
  attachResult = 0;
  EXPECT_FALSE(LoadA());
  EXPECT_EQ(module.Handle(), 0u);
  ASSERT_EQ(entryCalls.size(), 2u);
  EXPECT_EQ(entryCalls[0].reason, DWORD(DLL_PROCESS_ATTACH));
  EXPECT_EQ(entryCalls[1].reason, DWORD(DLL_PROCESS_DETACH));
  EXPECT_EQ(entryCalls[1].module, nullptr);
}

TEST_F(LoaderTest, MissingImportFailsTheLoad) {
  // Without the resolver nobody supplies the host functions.
  EXPECT_FALSE(module.Load(EmbeddedBytes(LoaderImageA, LoaderImageA_size)));
  EXPECT_EQ(module.Handle(), 0u);
  EXPECT_TRUE(entryCalls.empty());
}

TEST_F(LoaderTest, ProgramImageIsMappedButNeverEntered) {
  ASSERT_TRUE(module.Load(EmbeddedBytes(LoaderProgramC, LoaderProgramC_size), Resolver, std::intptr_t(77)));
  EXPECT_NE(module.EntryPoint(), nullptr);
  EXPECT_TRUE(module.Free());
  EXPECT_TRUE(entryCalls.empty());
}

#ifdef _WIN64
TEST_F(LoaderTest, UnwindTableIsKnownWhileMapped) {
  ASSERT_TRUE(LoadA());
  const auto code = reinterpret_cast<DWORD64>(module.FindExport("MixedCase"));
  DWORD64 imageBase = 0;
  EXPECT_NE(RtlLookupFunctionEntry(code, &imageBase, nullptr), nullptr);
  EXPECT_EQ(imageBase, module.Handle());
  module.Free();
  EXPECT_EQ(RtlLookupFunctionEntry(code, &imageBase, nullptr), nullptr);
}
#endif

TEST_F(LoaderTest, LoadOnLoadedObjectFreesFirst) {
  ASSERT_TRUE(LoadA());
  ASSERT_TRUE(LoadA());
  ASSERT_EQ(entryCalls.size(), 3u);
  EXPECT_EQ(entryCalls[1].reason, DWORD(DLL_PROCESS_DETACH));
  EXPECT_EQ(module.Handle(), PreferredBase(LoaderImageA));  // the first copy's memory was released
}

}  // namespace
