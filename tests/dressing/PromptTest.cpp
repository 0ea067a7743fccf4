// Message boxes of the process shown as the prompt window once the dressing redirects them.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "dressing/DrawnShadow.h"
#include "dressing/DressWindow.h"
#include "dressing/LayeredShadow.h"
#include "dressing/MessageBoxRedirect.h"
#include "dressing/PromptWindow.h"
#include "forms/Runtime.h"
#include "tests/dressing/PromptDriver.h"
#include "tests/dressing/ShadowProbe.h"

namespace {

using MessageBoxFunction = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);

unsigned char* Entry() {
  return reinterpret_cast<unsigned char*>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "MessageBoxA"));
}

Bytes originalEntry;

int soundsPlayed = 0;
Bytes soundHeard;
bool CountSound(const unsigned char* wave, size_t size) {
  ++soundsPlayed;
  soundHeard.assign(wave, wave + size);
  return true;
}

bool CannotOpen() { return false; }

// Dresses a window the way the about window does: skin 9, redirection on, layered shadow.
void DressLikeAboutWindow() {
  TestHost host;
  DressWindow(host.get(), {}, 9, 1, {}, {}, {}, 1, {}, 1);
}

// Runs first: the patch, once written, stays for the life of the process.
TEST(Prompt, MessageBoxesAreTheSystemsUntilTheDressingRedirectsThem) {
  originalEntry.assign(Entry(), Entry() + 16);
  PromptSeen before;
  EXPECT_EQ(Drive(Press::SystemNo, before,
                  [] { return MessageBoxA(nullptr, "系统", "系统标题", MB_YESNO); }),
            IDNO);
  EXPECT_TRUE(before.systemBox);
  EXPECT_FALSE(before.prompt);
  EXPECT_EQ(before.caption, "系统标题");

  DressLikeAboutWindow();
  ASSERT_NE(MessageBoxRedirect.resultCell, nullptr);
  EXPECT_EQ(DressingState.promptResultCell, MessageBoxRedirect.resultCell);
  EXPECT_EQ(*MessageBoxRedirect.resultCell, 0);

  // The prompt, however MessageBoxA is reached.
  const struct {
    const char* how;
    int (*show)();
  } callers[] = {
      {"import", [] { return MessageBoxA(nullptr, "正文", "标题", MB_OK); }},
      {"looked up",
       [] {
         auto f = reinterpret_cast<MessageBoxFunction>(reinterpret_cast<void*>(
             GetProcAddress(GetModuleHandleA("user32.dll"), "MessageBoxA")));
         return f(nullptr, "正文", "标题", MB_OK);
       }},
      {"window runtime", [] { return SystemMessageBox("正文", "标题", MB_OK); }},
  };
  for (const auto& c : callers) {
    SCOPED_TRACE(c.how);
    PromptSeen seen;
    EXPECT_EQ(Drive(Press::Confirm, seen, c.show), IDYES);
    EXPECT_TRUE(seen.prompt);
    EXPECT_FALSE(seen.systemBox);
    EXPECT_EQ(seen.caption, "标题");
    EXPECT_EQ(seen.text, "正文");
  }
}

TEST(Prompt, EachButtonGivesItsCodeAndTheCellStartsAtZeroAgain) {
  DressLikeAboutWindow();
  // A close after a confirm still gives IDOK: the confirm's value did not stay in the cell.
  const struct {
    Press press;
    UINT style;
    int result;
  } presses[] = {
      {Press::Confirm, MB_YESNO, IDYES}, {Press::Close, MB_YESNO, IDOK},
      {Press::Cancel, MB_YESNO, IDNO},   {Press::Close, MB_OK, IDOK},
      {Press::Confirm, MB_OK, IDYES},    {Press::Cancel, MB_OK | MB_ICONERROR, IDNO},
  };
  for (const auto& p : presses) {
    SCOPED_TRACE(static_cast<int>(p.press));
    PromptSeen seen;
    const UINT style = p.style;
    EXPECT_EQ(Drive(p.press, seen, [style] { return MessageBoxA(nullptr, "问", "题", style); }),
              p.result);
    EXPECT_TRUE(seen.prompt);
    EXPECT_EQ(*MessageBoxRedirect.resultCell, 0);
    // Both buttons whatever the style, centred about the middle; focus on the confirm button.
    EXPECT_EQ(seen.confirmLeft, 95);
    EXPECT_EQ(seen.cancelLeft, 180);
    EXPECT_EQ(seen.focus, seen.confirm);
  }
  EXPECT_EQ(PromptWindowForm(), nullptr);
}

TEST(Prompt, TextSitsHigherAndTallerAsItGrows) {
  DressLikeAboutWindow();
  const struct {
    size_t length;
    int top, height;
  } rows[] = {{24, 98, 86}, {35, 98, 86}, {70, 90, 86}, {100, 84, 86}, {130, 78, 86},
              {180, 65, 110}, {250, 58, 120}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.length);
    const std::string text(r.length, 'a');
    PromptSeen seen;
    Drive(Press::Close, seen, [&text] { return MessageBoxA(nullptr, text.c_str(), "t", MB_OK); });
    EXPECT_EQ(seen.text, text);
    EXPECT_EQ(seen.textTop, r.top);
    EXPECT_EQ(seen.textHeight, r.height);
  }
}

TEST(Prompt, MissingCaptionShowsAnEmptyTitleLine) {
  DressLikeAboutWindow();
  for (const char* caption : {static_cast<const char*>(nullptr), ""}) {
    PromptSeen seen;
    EXPECT_EQ(Drive(Press::Confirm, seen,
                    [caption] { return MessageBoxA(nullptr, "无标题", caption, MB_OK); }),
              IDYES);
    EXPECT_TRUE(seen.prompt);
    EXPECT_EQ(seen.caption, "");
    EXPECT_EQ(MessageBoxRedirect.promptCaption, "");
  }
  PromptSeen nullText;
  Drive(Press::Close, nullText, [] { return MessageBoxA(nullptr, nullptr, "t", MB_OK); });
  EXPECT_EQ(nullText.text, "");
}

TEST(Prompt, FollowsTheRememberedDressing) {
  DressLikeAboutWindow();
  PlayPromptSound = CountSound;
  // Kind 2 puts the drawn shadow first, and its subclass stays; the layered one follows anyway.
  const struct {
    int32_t skin, sound, shadows, kind;
    bool bar, shadow;
    int played;
    WNDPROC procedure;
  } cases[] = {
      {9, 0, 1, 0, false, true, 0, LayeredShadowProc},
      {4, 1, 1, 1, true, true, 1, LayeredShadowProc},
      {9, 0, 1, 2, false, true, 0, DrawnShadowProc},
      {4, 1, 0, 0, true, false, 1, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.skin);
    DressingState.skinNumber = c.skin;
    DressingState.promptSound = c.sound;
    DressingState.shadowsOn = c.shadows;
    DressingState.shadowKind = c.kind;
    soundsPlayed = 0;
    PromptSeen seen;
    Drive(Press::Close, seen, [] { return MessageBoxA(nullptr, "x", "y", MB_OK); });
    EXPECT_EQ(seen.barShown, c.bar);
    EXPECT_EQ(seen.lineShown, !c.bar);
    EXPECT_EQ(seen.shadowShown, c.shadow);
    EXPECT_EQ(soundsPlayed, c.played);
    if (c.procedure) {
      EXPECT_EQ(seen.procedure, c.procedure);
    }
  }
  ASSERT_GT(soundHeard.size(), 44u);
  EXPECT_EQ(std::memcmp(soundHeard.data(), "RIFF", 4), 0);
  EXPECT_EQ(std::memcmp(soundHeard.data() + 8, "WAVE", 4), 0);
  PlayPromptSound = PlayMemorySound;
  DressingState.promptSound = 0;
  DressingState.shadowsOn = 1;
  DressingState.shadowKind = 0;
  DressingState.skinNumber = 9;
}

// Installing again over the jump keeps the real entry: a prompt that cannot open then lifts the
// patch for one system box and puts it back.
TEST(Prompt, RepeatedInstallationKeepsTheRealEntryForTheFallback) {
  ASSERT_FALSE(originalEntry.empty()) << "runs after the first prompt test";
  int32_t* first = InstallMessageBoxRedirect(OpenPromptWindow, RememberPromptTexts);
  int32_t* second = InstallMessageBoxRedirect(CannotOpen, RememberPromptTexts);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first, second);
  const Bytes& saved = MessageBoxRedirect.savedEntryBytes;
  ASSERT_GE(saved.size(), MessageBoxRedirect.patchBytes.size());
  EXPECT_TRUE(std::equal(saved.begin(), saved.end(), originalEntry.begin()));

  PromptSeen seen;
  EXPECT_EQ(Drive(Press::SystemNo, seen,
                  [] { return MessageBoxA(nullptr, "回退", "回退标题", MB_YESNO); }),
            IDNO);
  EXPECT_TRUE(seen.systemBox);
  EXPECT_EQ(seen.caption, "回退标题");
  const Bytes& patch = MessageBoxRedirect.patchBytes;
  EXPECT_EQ(std::memcmp(Entry(), patch.data(), patch.size()), 0);

  DressLikeAboutWindow();
  PromptSeen again;
  EXPECT_EQ(Drive(Press::Cancel, again, [] { return MessageBoxA(nullptr, "再", "次", MB_OK); }),
            IDNO);
  EXPECT_TRUE(again.prompt);
}

}  // namespace
