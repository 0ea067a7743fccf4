#include "dressing/MessageBoxRedirect.h"

#include <cstdint>
#include <cstring>
#include <iterator>

MessageBoxRedirectRecord MessageBoxRedirect;

namespace {

// The jump written over the entry: load the replacement's address into the accumulator and jump
// there. The accumulator is free at a function's entry under both calling conventions.
#if defined(_WIN64)
constexpr unsigned char kLoadAccumulator[] = {0x48, 0xB8};  // mov rax, imm64
#else
constexpr unsigned char kLoadAccumulator[] = {0xB8};  // mov eax, imm32
#endif
constexpr unsigned char kJumpToAccumulator[] = {0xFF, 0xE0};  // jmp rax / jmp eax
constexpr size_t kPatchLength = sizeof kLoadAccumulator + sizeof(void*) + sizeof kJumpToAccumulator;

Bytes MakePatch(const void* target) {
  Bytes patch(std::begin(kLoadAccumulator), std::end(kLoadAccumulator));
  const auto address = reinterpret_cast<uintptr_t>(target);
  for (size_t i = 0; i < sizeof(void*); ++i) patch.push_back(static_cast<unsigned char>(address >> (8 * i)));
  patch.insert(patch.end(), std::begin(kJumpToAccumulator), std::end(kJumpToAccumulator));
  return patch;
}

// Everything the patch covers must be saved, or lifting it would leave part of the jump behind.
constexpr size_t kSavedLength = kPatchLength > 8 ? kPatchLength : 8;

void WriteEntry(const Bytes& bytes) {
  if (!MessageBoxRedirect.entryAddress || bytes.empty()) return;
  std::memcpy(MessageBoxRedirect.entryAddress, bytes.data(), bytes.size());
  FlushInstructionCache(GetCurrentProcess(), MessageBoxRedirect.entryAddress, bytes.size());
}

}  // namespace

int32_t* InstallMessageBoxRedirect(PromptOpener promptWindow, PromptBeforeShow beforeShow) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  if (!user32) user32 = LoadLibraryA("user32.dll");
  if (!user32) return nullptr;
  auto* entry = reinterpret_cast<unsigned char*>(GetProcAddress(user32, "MessageBoxA"));
  if (!entry) return nullptr;

  const Bytes patch = MakePatch(reinterpret_cast<const void*>(&PromptMessageBox));
  // Installing again over our own jump must keep the bytes saved the first time: the fallback
  // needs the real entry, not the jump.
  const bool patchedAlready = MessageBoxRedirect.entryAddress == entry &&
                              MessageBoxRedirect.savedEntryBytes.size() == kSavedLength &&
                              std::memcmp(entry, patch.data(), patch.size()) == 0;
  if (!patchedAlready) MessageBoxRedirect.savedEntryBytes.assign(entry, entry + kSavedLength);

  HANDLE process = GetCurrentProcess();
  MEMORY_BASIC_INFORMATION region{};
  if (VirtualQueryEx(process, entry, &region, sizeof(region)) == 0) return nullptr;
  // From the entry itself, so that a patch crossing into the next page is writable too.
  DWORD oldProtection = 0;
  if (!VirtualProtectEx(process, entry, kSavedLength, PAGE_EXECUTE_READWRITE, &oldProtection)) {
    return nullptr;
  }

  // One cell for the life of the process; a repeated installation hands out the same one.
  if (!MessageBoxRedirect.resultCell) MessageBoxRedirect.resultCell = new int32_t(0);
  MessageBoxRedirect.entryAddress = entry;
  MessageBoxRedirect.promptWindow = promptWindow;
  MessageBoxRedirect.beforeShow = beforeShow;
  MessageBoxRedirect.patchBytes = patch;
  WriteEntry(patch);
  return MessageBoxRedirect.resultCell;
}

int WINAPI PromptMessageBox(HWND ownerWindow, const char* text, const char* caption, UINT style) {
  const Text ownText = text ? text : "";
  const Text ownCaption = caption ? caption : "";
  if (MessageBoxRedirect.beforeShow) {
    MessageBoxRedirect.beforeShow(ownerWindow, ownText.c_str(), ownCaption.c_str(), style);
  }
  if (MessageBoxRedirect.promptWindow && MessageBoxRedirect.promptWindow()) {
    int32_t* cell = MessageBoxRedirect.resultCell;
    const int32_t value = cell ? *cell : 0;
    if (cell) *cell = 0;
    return value + 1;
  }
  // The prompt could not be shown: lift the patch for this one system message box.
  WriteEntry(MessageBoxRedirect.savedEntryBytes);
  const int result = MessageBoxA(ownerWindow, text, caption, style);
  WriteEntry(MessageBoxRedirect.patchBytes);
  return result;
}

void RememberPromptTexts(HWND, const char* text, const char* caption, UINT) {
  MessageBoxRedirect.promptText = text ? text : "";
  MessageBoxRedirect.promptCaption = caption ? caption : "";
}
