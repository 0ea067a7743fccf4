#include "loader/MemoryModule.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

#ifdef _WIN64
constexpr WORD kOptionalMagic = IMAGE_NT_OPTIONAL_HDR64_MAGIC;
constexpr WORD kMachine = IMAGE_FILE_MACHINE_AMD64;
constexpr WORD kRelocType = IMAGE_REL_BASED_DIR64;
#else
constexpr WORD kOptionalMagic = IMAGE_NT_OPTIONAL_HDR32_MAGIC;
constexpr WORD kMachine = IMAGE_FILE_MACHINE_I386;
constexpr WORD kRelocType = IMAGE_REL_BASED_HIGHLOW;
#endif
constexpr std::uint64_t kNtSize = sizeof(IMAGE_NT_HEADERS);
// A bigger image is corrupt for our purposes; refusing it keeps a bad size field from reserving
// gigabytes.
constexpr std::uint64_t kMaxImageSize = 256u << 20;

using DllEntry = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);

// Images mapped by any MemoryModule. Copies share one image, so whether it is still mapped and
// whether it was entered belongs to the image, not to one object. Window thread only.
// The entry point is kept from the input's headers: the mapped copy of them may have been
// overwritten by a section or by the image itself.
struct Mapped {
  std::uintptr_t base;
  std::uint64_t size;
  std::uint64_t entryOffset;
  bool entered;
  void* unwindTable;  // registered so that exceptions and stack walks can pass through the image
};
std::vector<Mapped>& MappedImages() {
  static std::vector<Mapped> images;
  return images;
}
Mapped* FindMapped(std::uintptr_t base) {
  for (Mapped& m : MappedImages())
    if (m.base == base) return &m;
  return nullptr;
}
void ForgetMapped(std::uintptr_t base) {
  auto& images = MappedImages();
  for (auto it = images.begin(); it != images.end(); ++it)
    if (it->base == base) {
      images.erase(it);
      return;
    }
}

// Bounded view of the mapped image: every read the tables ask for is checked against its size.
struct Image {
  unsigned char* base;
  std::uint64_t size;

  bool Holds(std::uint64_t offset, std::uint64_t length) const {
    return offset <= size && length <= size - offset;
  }
  template <class T>
  T* At(std::uint64_t offset) const {
    return Holds(offset, sizeof(T)) ? reinterpret_cast<T*>(base + offset) : nullptr;
  }
  // A zero-terminated text wholly inside the image, or null.
  const char* TextAt(std::uint64_t offset) const {
    if (offset >= size) return nullptr;
    const void* end = std::memchr(base + offset, 0, size - offset);
    return end ? reinterpret_cast<const char*>(base + offset) : nullptr;
  }
  const IMAGE_NT_HEADERS* Nt() const {
    auto* dos = At<IMAGE_DOS_HEADER>(0);
    if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
    auto* nt = At<IMAGE_NT_HEADERS>(static_cast<DWORD>(dos->e_lfanew));
    return nt && nt->Signature == IMAGE_NT_SIGNATURE ? nt : nullptr;
  }
};

const IMAGE_DATA_DIRECTORY* Directory(const IMAGE_NT_HEADERS* nt, unsigned index) {
  if (index >= nt->OptionalHeader.NumberOfRvaAndSizes || index >= IMAGE_NUMBEROF_DIRECTORY_ENTRIES)
    return nullptr;
  return &nt->OptionalHeader.DataDirectory[index];
}

// Blocks run until one with page address 0 or until the directory's end, whichever comes first;
// a block shorter than its own header, or one reaching past the image, fails the load.
bool ApplyRelocations(const Image& image, const IMAGE_DATA_DIRECTORY& dir, std::uintptr_t preferred) {
  const std::uintptr_t delta = reinterpret_cast<std::uintptr_t>(image.base) - preferred;
  const std::uint64_t end = std::uint64_t(dir.VirtualAddress) + dir.Size;
  if (!image.Holds(dir.VirtualAddress, dir.Size)) return false;
  std::uint64_t offset = dir.VirtualAddress;
  while (offset < end) {
    auto* block = image.At<IMAGE_BASE_RELOCATION>(offset);
    if (!block) return false;
    if (block->VirtualAddress == 0) return true;
    if (block->SizeOfBlock < sizeof(IMAGE_BASE_RELOCATION) || !image.Holds(offset, block->SizeOfBlock))
      return false;
    const std::uint64_t count = (block->SizeOfBlock - sizeof(IMAGE_BASE_RELOCATION)) / 2;
    const auto* entries = reinterpret_cast<const WORD*>(block + 1);
    for (std::uint64_t i = 0; i < count; ++i) {
      if ((entries[i] >> 12) != kRelocType) continue;
      auto* target = image.At<std::uintptr_t>(std::uint64_t(block->VirtualAddress) + (entries[i] & 0x0FFF));
      if (!target) return false;
      std::uintptr_t value;
      std::memcpy(&value, target, sizeof value);
      value += delta;
      std::memcpy(target, &value, sizeof value);
    }
    offset += block->SizeOfBlock;
  }
  return true;
}

bool BindImports(const Image& image, const IMAGE_DATA_DIRECTORY& dir, ImportResolver resolver,
                 std::intptr_t resolverValue) {
  for (std::uint64_t offset = dir.VirtualAddress;; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    auto* desc = image.At<IMAGE_IMPORT_DESCRIPTOR>(offset);
    if (!desc) return false;
    if (desc->FirstThunk == 0) return true;
    const char* library = image.TextAt(desc->Name);
    if (!library) return false;
    // The libraries stay loaded for the life of the process, like the image that needs them.
    HMODULE module = LoadLibraryA(library);
    for (std::uint64_t slot = desc->FirstThunk;; slot += sizeof(IMAGE_THUNK_DATA)) {
      auto* thunk = image.At<IMAGE_THUNK_DATA>(slot);
      if (!thunk) return false;
      if (thunk->u1.AddressOfData == 0) break;
      char ordinalText[8];
      const char* function;
      const bool byOrdinal = IMAGE_SNAP_BY_ORDINAL(thunk->u1.Ordinal);
      if (byOrdinal) {
        wsprintfA(ordinalText, "%u", unsigned(IMAGE_ORDINAL(thunk->u1.Ordinal)));
        function = ordinalText;
      } else {
        function = image.TextAt(std::uint64_t(thunk->u1.AddressOfData) + 2);
        if (!function) return false;
      }
      void* address = resolver ? resolver(library, function, resolverValue) : nullptr;
      // Without its library the system would search the program itself, which is never meant.
      if (!address && module)
        address = reinterpret_cast<void*>(
            byOrdinal ? GetProcAddress(module, MAKEINTRESOURCEA(IMAGE_ORDINAL(thunk->u1.Ordinal)))
                      : GetProcAddress(module, function));
      if (!address) return false;
      thunk->u1.Function = reinterpret_cast<std::uintptr_t>(address);
    }
  }
}

// Decimal text exactly as an integer prints: no sign but '-', no leading zeros, no spaces.
bool ParseOrdinal(const Text& text, long long& value) {
  std::size_t i = text[0] == '-' ? 1 : 0;
  const std::size_t digits = text.size() - i;
  if (digits == 0 || digits > 10 || (text[i] == '0' && (digits > 1 || i == 1))) return false;
  long long v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
  }
  value = text[0] == '-' ? -v : v;
  return value >= INT32_MIN && value <= INT32_MAX;
}

// 64-bit code unwinds through tables the system finds only for registered images.
void* RegisterUnwindTable(const Image& image, const IMAGE_NT_HEADERS& nt) {
#ifdef _WIN64
  const IMAGE_DATA_DIRECTORY* dir = Directory(&nt, IMAGE_DIRECTORY_ENTRY_EXCEPTION);
  if (!dir || dir->Size < sizeof(RUNTIME_FUNCTION) || !image.Holds(dir->VirtualAddress, dir->Size)) return nullptr;
  auto* table = reinterpret_cast<PRUNTIME_FUNCTION>(image.base + dir->VirtualAddress);
  return RtlAddFunctionTable(table, DWORD(dir->Size / sizeof(RUNTIME_FUNCTION)), DWORD64(image.base)) ? table : nullptr;
#else
  return nullptr;
#endif
}

void UnregisterUnwindTable(void* table) {
#ifdef _WIN64
  if (table) RtlDeleteFunctionTable(static_cast<PRUNTIME_FUNCTION>(table));
#endif
}

std::uintptr_t Map(const unsigned char* data, std::uint64_t n, ImportResolver resolver, std::intptr_t resolverValue) {
  if (!data || n < sizeof(IMAGE_DOS_HEADER)) return 0;
  IMAGE_DOS_HEADER dos;
  std::memcpy(&dos, data, sizeof dos);
  if (dos.e_magic != IMAGE_DOS_SIGNATURE) return 0;
  const std::uint64_t ntOffset = static_cast<DWORD>(dos.e_lfanew);
  if (ntOffset + kNtSize > n) return 0;
  IMAGE_NT_HEADERS nt;
  std::memcpy(&nt, data + ntOffset, sizeof nt);
  if (nt.Signature != IMAGE_NT_SIGNATURE) return 0;
  if (!(nt.FileHeader.Characteristics & IMAGE_FILE_EXECUTABLE_IMAGE)) return 0;
  // The other width lays its optional header out differently; reading it as ours would misplace
  // every field after the entry point.
  if (nt.OptionalHeader.Magic != kOptionalMagic || nt.FileHeader.Machine != kMachine ||
      nt.FileHeader.SizeOfOptionalHeader != sizeof(IMAGE_OPTIONAL_HEADER))
    return 0;
  const std::uint64_t headerBytes = ntOffset + kNtSize + 40ull * nt.FileHeader.NumberOfSections;
  if (headerBytes > n) return 0;

  IMAGE_SECTION_HEADER* sections = reinterpret_cast<IMAGE_SECTION_HEADER*>(
      const_cast<unsigned char*>(data) + ntOffset + kNtSize);
  const std::uint64_t alignment = nt.OptionalHeader.SectionAlignment;
  if (alignment == 0) return 0;
  std::uint64_t imageSize = nt.OptionalHeader.SizeOfImage;
  for (unsigned i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
    IMAGE_SECTION_HEADER s;
    std::memcpy(&s, &sections[i], sizeof s);
    const std::uint64_t virtualSize = s.Misc.VirtualSize & 0xFFFF;
    std::uint64_t end = std::uint64_t(s.VirtualAddress) + (s.SizeOfRawData > virtualSize ? s.SizeOfRawData : virtualSize);
    end = (end + alignment - 1) / alignment * alignment;
    if (end > imageSize) imageSize = end;
    if (s.SizeOfRawData > 0 && s.VirtualAddress != 0 && std::uint64_t(s.PointerToRawData) + s.SizeOfRawData > n)
      return 0;
  }
  if (imageSize == 0 || imageSize > kMaxImageSize || imageSize < headerBytes) return 0;

  void* memory = VirtualAlloc(reinterpret_cast<void*>(nt.OptionalHeader.ImageBase), imageSize,
                              MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
  if (!memory) memory = VirtualAlloc(nullptr, imageSize, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
  if (!memory) return 0;
  const Image image{static_cast<unsigned char*>(memory), imageSize};
  auto fail = [&] {
    VirtualFree(memory, 0, MEM_RELEASE);
    return std::uintptr_t(0);
  };

  std::memcpy(image.base, data, headerBytes);
  for (unsigned i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
    IMAGE_SECTION_HEADER s;
    std::memcpy(&s, &sections[i], sizeof s);
    if (s.SizeOfRawData < 1 || s.VirtualAddress == 0) continue;
    if (!image.Holds(s.VirtualAddress, s.SizeOfRawData)) return fail();
    std::memcpy(image.base + s.VirtualAddress, data + s.PointerToRawData, s.SizeOfRawData);
  }

  // The tables are read from the mapped copy: sections may have overwritten the copied headers.
  const IMAGE_DATA_DIRECTORY* relocs = Directory(&nt, IMAGE_DIRECTORY_ENTRY_BASERELOC);
  if (relocs && relocs->Size > 0 && !ApplyRelocations(image, *relocs, nt.OptionalHeader.ImageBase)) return fail();
  const IMAGE_DATA_DIRECTORY* imports = Directory(&nt, IMAGE_DIRECTORY_ENTRY_IMPORT);
  if (imports && imports->VirtualAddress > 0 && !BindImports(image, *imports, resolver, resolverValue))
    return fail();

  void* unwindTable = RegisterUnwindTable(image, nt);
  bool entered = false;
  const std::uint64_t entryOffset = nt.OptionalHeader.AddressOfEntryPoint;
  // A library without an entry point (resources only) has nothing to run.
  if ((nt.FileHeader.Characteristics & IMAGE_FILE_DLL) && entryOffset != 0) {
    if (entryOffset >= imageSize) {
      UnregisterUnwindTable(unwindTable);
      return fail();
    }
    auto entry = reinterpret_cast<DllEntry>(image.base + entryOffset);
    if (!entry(nullptr, DLL_PROCESS_ATTACH, nullptr)) {
      entry(nullptr, DLL_PROCESS_DETACH, nullptr);
      UnregisterUnwindTable(unwindTable);
      return fail();
    }
    entered = true;
  }
  const auto base = reinterpret_cast<std::uintptr_t>(memory);
  MappedImages().push_back({base, imageSize, entryOffset, entered, unwindTable});
  return base;
}

}  // namespace

bool MemoryModule::Load(const Bytes& bytes, Param<ImportResolver> resolver, Param<std::intptr_t> resolverValue) {
  return Load(bytes.data(), bytes.size(), resolver, resolverValue);
}

bool MemoryModule::Load(const unsigned char* data, std::size_t size, Param<ImportResolver> resolver,
                        Param<std::intptr_t> resolverValue) {
  if (handle_ != 0) Free();
  handle_ = Map(data, size, resolver.value, resolverValue.value);
  return handle_ != 0;
}

bool MemoryModule::Free() {
  if (handle_ == 0) return true;
  const Mapped* mapped = FindMapped(handle_);
  if (!mapped) {  // a copy of this object has already unloaded the image
    handle_ = 0;
    return true;
  }
  auto* base = reinterpret_cast<unsigned char*>(handle_);
  if (mapped->entered) reinterpret_cast<DllEntry>(base + mapped->entryOffset)(nullptr, DLL_PROCESS_DETACH, nullptr);
  UnregisterUnwindTable(mapped->unwindTable);
  ForgetMapped(handle_);
  VirtualFree(base, 0, MEM_RELEASE);
  handle_ = 0;
  return true;
}

void* MemoryModule::FindExport(const Text& name) const {
  const Mapped* mapped = handle_ ? FindMapped(handle_) : nullptr;
  if (!mapped || name.empty()) return nullptr;
  const Image image{reinterpret_cast<unsigned char*>(handle_), mapped->size};
  const IMAGE_NT_HEADERS* nt = image.Nt();
  if (!nt) return nullptr;
  const IMAGE_DATA_DIRECTORY* dir = Directory(nt, IMAGE_DIRECTORY_ENTRY_EXPORT);
  if (!dir || dir->Size == 0) return nullptr;
  auto* exports = image.At<IMAGE_EXPORT_DIRECTORY>(dir->VirtualAddress);
  if (!exports) return nullptr;
  auto function = [&](std::uint64_t index) -> void* {
    auto* rva = image.At<DWORD>(exports->AddressOfFunctions + 4 * index);
    return rva && *rva != 0 && *rva < image.size ? image.base + *rva : nullptr;
  };

  long long ordinal;
  if (ParseOrdinal(name, ordinal)) {
    const long long index = ordinal - static_cast<long long>(exports->Base);
    return index >= 0 && index < exports->NumberOfFunctions ? function(index) : nullptr;
  }
  if (exports->NumberOfNames == 0) return nullptr;
  auto* firstName = image.At<DWORD>(exports->AddressOfNames);
  if (!firstName) return nullptr;
  // Names are read back to back from the first one, in the order of the ordinal table, as the
  // linker lays them out; the other entries of the name table are not consulted.
  std::uint64_t p = *firstName;
  for (std::uint64_t i = 0; i < exports->NumberOfNames; ++i) {
    const char* text = image.TextAt(p);
    auto* index = image.At<WORD>(exports->AddressOfNameOrdinals + 2 * i);
    if (!text || !index) return nullptr;
    if (*index < exports->NumberOfFunctions && name == text)
      if (void* address = function(*index)) return address;
    p += std::strlen(text) + 1;
  }
  return nullptr;
}

void* MemoryModule::EntryPoint() const {
  const Mapped* mapped = handle_ ? FindMapped(handle_) : nullptr;
  return mapped ? reinterpret_cast<unsigned char*>(handle_) + mapped->entryOffset : nullptr;
}
