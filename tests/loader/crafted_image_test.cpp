// Hand-made images: one small library whose fields each case spoils in one way.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>

#include "loader/MemoryModule.h"

namespace {

constexpr DWORD kLfanew = 0x40;
constexpr DWORD kSectionRva = 0x1000;
constexpr DWORD kSectionFile = 0x200;
constexpr DWORD kSectionRaw = 0x200;
// Offsets inside the one section where the cases put their tables.
constexpr DWORD kRelocAt = 0x100, kImportAt = 0x180, kExportAt = 0x1C0, kDataAt = 0x40;

#ifdef _WIN64
constexpr WORD kOtherMagic = IMAGE_NT_OPTIONAL_HDR32_MAGIC;
constexpr unsigned char kReturnOne[] = {0xB8, 1, 0, 0, 0, 0xC3};   // mov eax,1; ret
constexpr unsigned char kReturnZero[] = {0x31, 0xC0, 0xC3};        // xor eax,eax; ret
#else
constexpr WORD kOtherMagic = IMAGE_NT_OPTIONAL_HDR64_MAGIC;
constexpr unsigned char kReturnOne[] = {0xB8, 1, 0, 0, 0, 0xC2, 12, 0};  // mov eax,1; ret 12
constexpr unsigned char kReturnZero[] = {0x31, 0xC0, 0xC2, 12, 0};       // xor eax,eax; ret 12
#endif

struct Crafted {
  Bytes bytes = Bytes(kSectionFile + kSectionRaw);

  Crafted() {
    auto& dos = Dos();
    dos.e_magic = IMAGE_DOS_SIGNATURE;
    dos.e_lfanew = kLfanew;
    auto& nt = Nt();
    nt.Signature = IMAGE_NT_SIGNATURE;
#ifdef _WIN64
    nt.FileHeader.Machine = IMAGE_FILE_MACHINE_AMD64;
    nt.OptionalHeader.Magic = IMAGE_NT_OPTIONAL_HDR64_MAGIC;
#else
    nt.FileHeader.Machine = IMAGE_FILE_MACHINE_I386;
    nt.OptionalHeader.Magic = IMAGE_NT_OPTIONAL_HDR32_MAGIC;
#endif
    nt.FileHeader.NumberOfSections = 1;
    nt.FileHeader.SizeOfOptionalHeader = sizeof(IMAGE_OPTIONAL_HEADER);
    nt.FileHeader.Characteristics = IMAGE_FILE_EXECUTABLE_IMAGE | IMAGE_FILE_DLL;
    nt.OptionalHeader.AddressOfEntryPoint = kSectionRva;
    nt.OptionalHeader.ImageBase = 0x30000000;
    nt.OptionalHeader.SectionAlignment = 0x1000;
    nt.OptionalHeader.FileAlignment = 0x200;
    nt.OptionalHeader.SizeOfImage = 0x2000;
    nt.OptionalHeader.SizeOfHeaders = kSectionFile;
    nt.OptionalHeader.NumberOfRvaAndSizes = IMAGE_NUMBEROF_DIRECTORY_ENTRIES;
    auto& s = Section();
    std::memcpy(s.Name, ".text", 5);
    s.Misc.VirtualSize = kSectionRaw;
    s.VirtualAddress = kSectionRva;
    s.SizeOfRawData = kSectionRaw;
    s.PointerToRawData = kSectionFile;
    Code(kReturnOne, sizeof kReturnOne);
  }
  IMAGE_DOS_HEADER& Dos() { return *reinterpret_cast<IMAGE_DOS_HEADER*>(bytes.data()); }
  IMAGE_NT_HEADERS& Nt() { return *reinterpret_cast<IMAGE_NT_HEADERS*>(bytes.data() + kLfanew); }
  IMAGE_SECTION_HEADER& Section() {
    return *reinterpret_cast<IMAGE_SECTION_HEADER*>(bytes.data() + kLfanew + sizeof(IMAGE_NT_HEADERS));
  }
  IMAGE_DATA_DIRECTORY& Dir(int i) { return Nt().OptionalHeader.DataDirectory[i]; }
  template <class T>
  T& InSection(DWORD offset) { return *reinterpret_cast<T*>(bytes.data() + kSectionFile + offset); }
  void Code(const unsigned char* code, size_t n) { std::memcpy(bytes.data() + kSectionFile, code, n); }
  // One relocation block for the pointer-sized value at kDataAt.
  void Relocation(DWORD blockSize) {
    Dir(IMAGE_DIRECTORY_ENTRY_BASERELOC) = {kSectionRva + kRelocAt, 16};
    InSection<IMAGE_BASE_RELOCATION>(kRelocAt) = {kSectionRva, blockSize};
#ifdef _WIN64
    InSection<WORD>(kRelocAt + 8) = WORD(IMAGE_REL_BASED_DIR64 << 12 | kDataAt);
#else
    InSection<WORD>(kRelocAt + 8) = WORD(IMAGE_REL_BASED_HIGHLOW << 12 | kDataAt);
#endif
  }
  // One import descriptor naming a library, with an empty thunk table.
  void Import(DWORD nameRva) {
    Dir(IMAGE_DIRECTORY_ENTRY_IMPORT) = {kSectionRva + kImportAt, 40};
    auto& d = InSection<IMAGE_IMPORT_DESCRIPTOR>(kImportAt);
    d.Name = nameRva;
    d.FirstThunk = kSectionRva + kImportAt + 0x30;
    std::memcpy(&InSection<char>(kImportAt + 0x28), "x.dll", 6);
  }
};

struct Case {
  const char* what;
  std::function<void(Crafted&)> spoil;
  bool loads;
};

TEST(CraftedImage, HeaderChecksAndBounds) {
  const Case cases[] = {
      {"intact", [](Crafted&) {}, true},
      {"63 bytes", [](Crafted& c) { c.bytes.resize(63); }, false},
      {"64 bytes", [](Crafted& c) { c.bytes.resize(64); }, false},
      {"no MZ", [](Crafted& c) { c.Dos().e_magic = 0x4D5A; }, false},
      {"NT headers past the end", [](Crafted& c) { c.Dos().e_lfanew = LONG(c.bytes.size() - sizeof(IMAGE_NT_HEADERS) + 1); }, false},
      {"negative e_lfanew", [](Crafted& c) { c.Dos().e_lfanew = -64; }, false},
      {"no PE signature", [](Crafted& c) { c.Nt().Signature = 0x00014550; }, false},
      {"not an executable image", [](Crafted& c) { c.Nt().FileHeader.Characteristics &= ~IMAGE_FILE_EXECUTABLE_IMAGE; }, false},
      {"section table past the end", [](Crafted& c) { c.Nt().FileHeader.NumberOfSections = 20; }, false},
      {"other pointer width", [](Crafted& c) { c.Nt().OptionalHeader.Magic = kOtherMagic; }, false},
      {"section raw data past the input", [](Crafted& c) { c.Section().PointerToRawData = kSectionFile + 1; }, false},
      {"section raw size past the input", [](Crafted& c) { c.Section().SizeOfRawData = 0x100000; }, false},
      {"section alignment 0", [](Crafted& c) { c.Nt().OptionalHeader.SectionAlignment = 0; }, false},
      {"no size at all", [](Crafted& c) { c.Nt().OptionalHeader.SizeOfImage = 0; c.Nt().FileHeader.NumberOfSections = 0; }, false},
      {"image smaller than its headers", [](Crafted& c) { c.Nt().OptionalHeader.SizeOfImage = 0x100; c.Nt().FileHeader.NumberOfSections = 0; c.Nt().FileHeader.Characteristics &= ~IMAGE_FILE_DLL; }, false},
      {"image size beyond reason", [](Crafted& c) { c.Nt().OptionalHeader.SizeOfImage = 0xFFFFF000; }, false},
      {"relocation block", [](Crafted& c) { c.Relocation(10); }, true},
      {"relocation block below 8 bytes", [](Crafted& c) { c.Relocation(4); }, false},
      {"relocation block of 0 bytes", [](Crafted& c) { c.Relocation(0); }, false},
      {"relocation block past the image", [](Crafted& c) { c.Relocation(0x2000); }, false},
      {"relocation target past the image", [](Crafted& c) { c.Relocation(10); c.InSection<IMAGE_BASE_RELOCATION>(kRelocAt).VirtualAddress = 0x2000; }, false},
      {"relocation directory outside the image", [](Crafted& c) { c.Relocation(10); c.Dir(5).VirtualAddress = 0x7FFFF000; }, false},
      {"relocations without a zero block end at the directory", [](Crafted& c) { c.Relocation(10); c.Dir(5).Size = 10; c.InSection<DWORD>(kRelocAt + 10) = 0x1000; c.InSection<DWORD>(kRelocAt + 14) = 2; }, true},
      {"import of an empty table", [](Crafted& c) { c.Import(kSectionRva + kImportAt + 0x28); }, true},
      {"import directory outside the image", [](Crafted& c) { c.Import(kSectionRva + kImportAt + 0x28); c.Dir(1).VirtualAddress = 0x1FFF0; }, false},
      {"import name outside the image", [](Crafted& c) { c.Import(0x10000); }, false},
      {"import name running off the image", [](Crafted& c) {
         c.Nt().OptionalHeader.SectionAlignment = 0x200;
         c.Nt().OptionalHeader.SizeOfImage = kSectionRva + kSectionRaw;
         c.Import(kSectionRva + 0x1F0);
         std::memset(&c.InSection<char>(0x1F0), 'a', 0x10);
       }, false},
      {"import table outside the image", [](Crafted& c) { c.Import(kSectionRva + kImportAt + 0x28); c.InSection<IMAGE_IMPORT_DESCRIPTOR>(kImportAt).FirstThunk = 0x40000; }, false},
      {"entry point outside the image", [](Crafted& c) { c.Nt().OptionalHeader.AddressOfEntryPoint = 0x2000; }, false},
      {"entry returning 0", [](Crafted& c) { c.Code(kReturnZero, sizeof kReturnZero); }, false},
      // Entering at the headers would run data; a library without an entry point is only mapped.
      {"library with entry point 0", [](Crafted& c) { c.Nt().OptionalHeader.AddressOfEntryPoint = 0; }, true},
      {"program image with a bad entry", [](Crafted& c) { c.Nt().FileHeader.Characteristics &= ~IMAGE_FILE_DLL; c.Code(kReturnZero, 1); }, true},
  };
  for (const Case& c : cases) {
    Crafted image;
    c.spoil(image);
    MemoryModule module;
    EXPECT_EQ(module.Load(image.bytes), c.loads) << c.what;
    EXPECT_EQ(module.Handle() != 0, c.loads) << c.what;
    EXPECT_TRUE(module.Free()) << c.what;
  }
}

TEST(CraftedImage, RelocationAddsDeltaEvenAtZero) {
  for (bool blocked : {false, true}) {
    Crafted image;
    image.Relocation(10);
    const std::uintptr_t preferred = image.Nt().OptionalHeader.ImageBase;
    image.InSection<std::uintptr_t>(kDataAt) = preferred + 0x1234;
    void* blocker = blocked ? VirtualAlloc(reinterpret_cast<void*>(preferred), 0x1000, MEM_RESERVE, PAGE_NOACCESS) : nullptr;
    MemoryModule module;
    ASSERT_TRUE(module.Load(image.bytes));
    EXPECT_EQ(module.Handle() == preferred, !blocked);
    std::uintptr_t value;
    std::memcpy(&value, reinterpret_cast<void*>(module.Handle() + kSectionRva + kDataAt), sizeof value);
    EXPECT_EQ(value, module.Handle() + 0x1234);
    module.Free();
    if (blocker) VirtualFree(blocker, 0, MEM_RELEASE);
  }
}

TEST(CraftedImage, ImageSizeTakesLow16BitsOfVirtualSize) {
  struct SizeCase {
    DWORD virtualSize;
    DWORD sizeOfImage;
    SIZE_T mapped;
  } cases[] = {
      {0x12000, 0x1000, 0x3000},   // 0x2000 of the field counts: 0x1000 + 0x2000
      {0x10000, 0x1000, 0x2000},   // low half 0: the raw data decides
      {0x2800, 0x1000, 0x4000},    // aligned up to the section alignment
      {0x100, 0x5000, 0x5000},     // SizeOfImage wins when larger
  };
  for (const SizeCase& c : cases) {
    Crafted image;
    image.Section().Misc.VirtualSize = c.virtualSize;
    image.Nt().OptionalHeader.SizeOfImage = c.sizeOfImage;
    MemoryModule module;
    ASSERT_TRUE(module.Load(image.bytes)) << std::hex << c.virtualSize;
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(reinterpret_cast<void*>(module.Handle()), &info, sizeof info);
    EXPECT_EQ(info.RegionSize, c.mapped) << std::hex << c.virtualSize;
    module.Free();
  }
}

TEST(CraftedImage, ExportDirectoryOutsideTheImageFindsNothing) {
  Crafted image;
  image.Dir(IMAGE_DIRECTORY_ENTRY_EXPORT) = {0x7FFFFF00, 40};
  MemoryModule module;
  ASSERT_TRUE(module.Load(image.bytes));
  EXPECT_EQ(module.FindExport("Anything"), nullptr);
  EXPECT_EQ(module.FindExport("1"), nullptr);
  module.Free();
}

}  // namespace
