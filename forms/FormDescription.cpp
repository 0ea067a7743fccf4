#include "forms/FormDescription.h"

#include <cstdlib>
#include <sstream>

namespace {

// Splits a line into words; a word in double quotes may hold spaces, \" and \\ are escapes.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= line.size()) break;
    std::string word;
    if (line[i] == '"') {
      for (++i; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        word += line[i];
      }
      ++i;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') word += line[i++];
    }
    words.push_back(word);
  }
  return words;
}

bool KindFromWord(const std::string& w, ControlKind& kind) {
  static const struct { const char* word; ControlKind kind; } kinds[] = {
      {"edit", ControlKind::Edit},         {"label", ControlKind::Label},
      {"transparent-label", ControlKind::TransparentLabel},
      {"button", ControlKind::Button},     {"tab", ControlKind::Tab},
      {"progress", ControlKind::Progress}, {"picture", ControlKind::Picture},
      {"picture-button", ControlKind::PictureButton}, {"shape", ControlKind::Shape}};
  for (const auto& k : kinds) {
    if (w == k.word) { kind = k.kind; return true; }
  }
  return false;
}

int Number(const std::string& w) { return static_cast<int>(std::strtol(w.c_str(), nullptr, 10)); }

void ApplyOption(ControlDescription& c, const std::string& option) {
  const size_t eq = option.find('=');
  const std::string key = option.substr(0, eq);
  const std::string value = eq == std::string::npos ? "" : option.substr(eq + 1);
  if (key == "multiline") {
    c.multiline = true;
  } else if (key == "picture") {
    c.picture = value;
  } else if (key == "back") {
    const long rgb = std::strtol(value.c_str(), nullptr, 16);
    c.backColour = static_cast<int>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
  } else if (key == "range") {
    const size_t comma = value.find(',');
    c.rangeMin = Number(value.substr(0, comma));
    if (comma != std::string::npos) c.rangeMax = Number(value.substr(comma + 1));
  } else if (key == "position") {
    c.position = Number(value);
  } else if (key == "pages") {
    std::string page;
    std::istringstream in(value);
    while (std::getline(in, page, '|')) c.pages.push_back(page);
  }
}

}  // namespace

FormDescription ParseFormDescription(const std::string& utf8) {
  FormDescription form;
  std::istringstream in(utf8);
  std::string line;
  while (std::getline(in, line)) {
    const auto w = Words(line);
    if (w.empty() || w[0][0] == '#') continue;
    if (w[0] == "form" && w.size() >= 6) {
      form.title = w[1];
      form.left = Number(w[2]), form.top = Number(w[3]);
      form.width = Number(w[4]), form.height = Number(w[5]);
      continue;
    }
    ControlDescription c;
    if (w.size() < 8 || !KindFromWord(w[0], c.kind)) continue;
    c.name = w[1];
    if (w[2] != "-") {
      const size_t colon = w[2].rfind(':');
      c.parent = w[2].substr(0, colon);
      if (colon != std::string::npos) c.page = Number(w[2].substr(colon + 1));
    }
    c.left = Number(w[3]), c.top = Number(w[4]), c.width = Number(w[5]), c.height = Number(w[6]);
    c.text = w[7];
    for (size_t i = 8; i < w.size(); ++i) ApplyOption(c, w[i]);
    form.controls.push_back(c);
  }
  return form;
}
