#pragma once
// The about window: the program's name and version, buttons to the maker's pages, and an update
// button that only says automatic updating is off. Its creation dresses it and switches the
// message box redirection on for the rest of the program's life.
#include "forms/Form.h"
#include "text/Param.h"

// The maker's pages and numbers (settings of ours; the example domain keeps them off the net).
inline constexpr char kAuthorContact[] = "100200301";
inline constexpr char kFeedbackGroup[] = "100200300";
inline constexpr char kMakerSite[] = "https://www.vellacut.example/";
inline constexpr char kFeedbackPage[] = "https://www.vellacut.example/feedback/tessapic";
inline constexpr char kGroupJoinPage[] = "https://group.vellacut.example/join?group=100200300";
inline constexpr char kAuthorChatPage[] = "https://chat.vellacut.example/contact?uin=100200301";
inline constexpr char kAuthorVideoPage[] = "https://video.vellacut.example/space/100200301";

// Opens the about window, not modal and without an owner (the main window's about button).
Form* LoadAboutWindow(Form::Mode mode = Form::Mode::Modeless);
// The open about window, or null.
Form* AboutWindowForm();
// Hands a page to the browser; the window runtime's unless replaced.
extern void (*OpenAboutPage)(const Text& address);
