#pragma once
// Form descriptions: small UTF-8 text files under resources/forms, carried inside the program.
//
//   form "<title>" <left> <top> <width> <height>
//   <kind> <name> <parent> <left> <top> <width> <height> "<text>" [key=value ...]
//
// kind: edit, label, transparent-label, button, tab, progress, picture, picture-button, shape.
// parent: "-" for the window, a container control's name, or "<tab name>:<page>" for a tab page
// (positions on a page are relative to the tab control). Keys: multiline, picture=<name>,
// back=<rrggbb>, range=<min>,<max>, position=<n>, pages=<title>|<title>. Lines starting with '#'
// are comments.
#include <string>
#include <vector>

enum class ControlKind {
  Edit, Label, TransparentLabel, Button, Tab, Progress, Picture, PictureButton, Shape
};

struct ControlDescription {
  ControlKind kind = ControlKind::Label;
  std::string name;    // UTF-8, as written in the description
  std::string parent;  // empty for the window itself
  int page = -1;       // tab page index when the parent is a tab control
  int left = 0, top = 0, width = 0, height = 0;
  std::string text;  // UTF-8
  bool multiline = false;
  std::string picture;
  int backColour = -1;  // 0x00BBGGRR, -1 when not given
  int rangeMin = 0, rangeMax = 100, position = 0;
  std::vector<std::string> pages;
};

struct FormDescription {
  std::string title;  // UTF-8
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<ControlDescription> controls;
};

// Parses a description; a malformed line is skipped so a form always comes up.
FormDescription ParseFormDescription(const std::string& utf8);
