#include "skinengine/SkinFormat.h"

#include <cmath>
#include <cstring>

namespace {

constexpr char kMagic[] = "tessapic-skin 1";
constexpr std::size_t kMaxSkinLength = 1 << 16;

enum class Kind { Colour, Number, Button, Face };

struct Key {
  const char* section;
  const char* name;
  Kind kind;
  std::size_t offset;
  int low, high;  // range of a number
};

#define COLOUR(section, name, field) {section, name, Kind::Colour, offsetof(Skin, field), 0, 0}
#define BUTTON(section, name, field) {section, name, Kind::Button, offsetof(Skin, field), 0, 0}
#define NUMBER(section, name, field, low, high) {section, name, Kind::Number, offsetof(Skin, field), low, high}

const Key kKeys[] = {
    COLOUR("window", "background", windowBackground),
    COLOUR("window", "text", windowText),
    COLOUR("caption", "background", captionBackground),
    COLOUR("caption", "text", captionText),
    COLOUR("caption", "inactive", captionInactive),
    COLOUR("caption", "border", captionBorder),
    COLOUR("label", "text", labelText),
    COLOUR("edit", "background", editBackground),
    COLOUR("edit", "text", editText),
    COLOUR("edit", "border", editBorder),
    COLOUR("edit", "focus", editFocusBorder),
    BUTTON("button", "normal", buttonNormal),
    BUTTON("button", "hot", buttonHot),
    BUTTON("button", "pressed", buttonPressed),
    BUTTON("button", "disabled", buttonDisabled),
    COLOUR("button", "focus", buttonFocus),
    NUMBER("button", "radius", buttonRadius, 0, 32),
    COLOUR("tab", "background", tabBackground),
    COLOUR("tab", "face", tabFace),
    COLOUR("tab", "text", tabText),
    COLOUR("tab", "selected-face", tabSelectedFace),
    COLOUR("tab", "selected-text", tabSelectedText),
    COLOUR("tab", "border", tabBorder),
    COLOUR("progress", "track", progressTrack),
    COLOUR("progress", "bar", progressBar),
    COLOUR("progress", "border", progressBorder),
    NUMBER("progress", "radius", progressRadius, 0, 32),
    {"font", "face", Kind::Face, offsetof(Skin, fontFace), 0, 0},
    NUMBER("font", "size", fontSize, 6, 72),
    NUMBER("font", "weight", fontWeight, 100, 900),
};
constexpr std::size_t kKeyCount = sizeof kKeys / sizeof kKeys[0];

struct Span {
  const char* p;
  std::size_t n;
  bool Is(const char* s) const { return std::strlen(s) == n && std::memcmp(p, s, n) == 0; }
};

Span Trim(Span s) {
  while (s.n && (s.p[0] == ' ' || s.p[0] == '\t')) ++s.p, --s.n;
  while (s.n && (s.p[s.n - 1] == ' ' || s.p[s.n - 1] == '\t' || s.p[s.n - 1] == '\r')) --s.n;
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "#RRGGBB"
bool ReadColour(Span s, SkinColour& out) {
  if (s.n != 7 || s.p[0] != '#') return false;
  int v[6];
  for (int i = 0; i < 6; ++i)
    if ((v[i] = HexDigit(s.p[1 + i])) < 0) return false;
  out = SkinColour(v[0] * 16 + v[1]) | SkinColour(v[2] * 16 + v[3]) << 8 | SkinColour(v[4] * 16 + v[5]) << 16;
  return true;
}

bool ReadNumber(Span s, int low, int high, int& out) {
  if (s.n == 0 || s.n > 4) return false;
  int v = 0;
  for (std::size_t i = 0; i < s.n; ++i) {
    if (s.p[i] < '0' || s.p[i] > '9') return false;
    v = v * 10 + (s.p[i] - '0');
  }
  if (v < low || v > high) return false;
  out = v;
  return true;
}

// Three colours separated by spaces: face, text, border.
bool ReadButton(Span s, ButtonLook& out) {
  SkinColour c[3];
  for (int i = 0; i < 3; ++i) {
    s = Trim(s);
    std::size_t word = 0;
    while (word < s.n && s.p[word] != ' ' && s.p[word] != '\t') ++word;
    if (!ReadColour({s.p, word}, c[i])) return false;
    s = {s.p + word, s.n - word};
  }
  if (Trim(s).n != 0) return false;
  out = {c[0], c[1], c[2]};
  return true;
}

bool ReadValue(const Key& key, Span value, Skin& skin) {
  char* field = reinterpret_cast<char*>(&skin) + key.offset;
  switch (key.kind) {
    case Kind::Colour: return ReadColour(value, *reinterpret_cast<SkinColour*>(field));
    case Kind::Number: return ReadNumber(value, key.low, key.high, *reinterpret_cast<int*>(field));
    case Kind::Button: return ReadButton(value, *reinterpret_cast<ButtonLook*>(field));
    case Kind::Face:
      if (value.n == 0 || value.n >= sizeof skin.fontFace) return false;
      std::memcpy(field, value.p, value.n);
      field[value.n] = 0;
      return true;
  }
  return false;
}

}  // namespace

bool ParseSkin(const char* data, std::size_t length, Skin& skin) {
  if (!data || length > kMaxSkinLength) return false;
  skin = Skin{};
  bool seen[kKeyCount] = {};
  Span section{"", 0};
  std::size_t lineNumber = 0;
  for (std::size_t at = 0; at < length; ++lineNumber) {
    std::size_t end = at;
    while (end < length && data[end] != '\n') ++end;
    Span line = Trim({data + at, end - at});
    at = end + 1;
    for (std::size_t i = 0; i < line.n; ++i)
      if (static_cast<unsigned char>(line.p[i]) < 0x20 && line.p[i] != '\t') return false;
    if (lineNumber == 0) {
      if (!line.Is(kMagic)) return false;
      continue;
    }
    if (line.n == 0 || line.p[0] == '#') continue;
    if (line.p[0] == '[') {
      if (line.p[line.n - 1] != ']') return false;
      section = Trim({line.p + 1, line.n - 2});
      continue;
    }
    const char* equals = static_cast<const char*>(std::memchr(line.p, '=', line.n));
    if (!equals) return false;
    const Span name = Trim({line.p, std::size_t(equals - line.p)});
    const Span value = Trim({equals + 1, std::size_t(line.p + line.n - equals - 1)});
    // Keys this engine does not know are left for later versions of the format.
    for (std::size_t k = 0; k < kKeyCount; ++k) {
      if (!section.Is(kKeys[k].section) || !name.Is(kKeys[k].name)) continue;
      if (!ReadValue(kKeys[k], value, skin)) return false;
      seen[k] = true;
    }
  }
  if (lineNumber == 0) return false;
  for (bool s : seen)
    if (!s) return false;
  return true;
}

namespace {

double HueToChannel(double p, double q, double t) {
  if (t < 0) t += 1;
  if (t > 1) t -= 1;
  if (t < 1.0 / 6) return p + (q - p) * 6 * t;
  if (t < 0.5) return q;
  if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
  return p;
}

double Move(double value, int percent) {
  if (percent > 100) percent = 100;
  if (percent < -100) percent = -100;
  return percent >= 0 ? value + (1 - value) * percent / 100.0 : value * (100 + percent) / 100.0;
}

}  // namespace

SkinColour AdjustColour(SkinColour colour, int hue, int saturation, int brightness) {
  if (hue == 0 && saturation == 0 && brightness == 0) return colour;
  const double r = (colour & 0xFF) / 255.0, g = (colour >> 8 & 0xFF) / 255.0, b = (colour >> 16 & 0xFF) / 255.0;
  const double high = std::fmax(r, std::fmax(g, b)), low = std::fmin(r, std::fmin(g, b));
  double h = 0, s = 0, l = (high + low) / 2;
  if (high > low) {
    const double d = high - low;
    s = l > 0.5 ? d / (2 - high - low) : d / (high + low);
    if (high == r) h = (g - b) / d + (g < b ? 6 : 0);
    else if (high == g) h = (b - r) / d + 2;
    else h = (r - g) / d + 4;
    h /= 6;
  }
  h += (hue % 360) / 360.0;
  h -= std::floor(h);
  s = Move(s, saturation);
  l = Move(l, brightness);
  double rgb[3];
  if (s == 0) {
    rgb[0] = rgb[1] = rgb[2] = l;
  } else {
    const double q = l < 0.5 ? l * (1 + s) : l + s - l * s, p = 2 * l - q;
    rgb[0] = HueToChannel(p, q, h + 1.0 / 3);
    rgb[1] = HueToChannel(p, q, h);
    rgb[2] = HueToChannel(p, q, h - 1.0 / 3);
  }
  SkinColour out = 0;
  for (int i = 0; i < 3; ++i) out |= SkinColour(std::lround(rgb[i] * 255)) << (8 * i);
  return out;
}

void AdjustSkin(Skin& skin, int hue, int saturation, int brightness) {
  for (const Key& key : kKeys) {
    char* field = reinterpret_cast<char*>(&skin) + key.offset;
    const int colours = key.kind == Kind::Colour ? 1 : key.kind == Kind::Button ? 3 : 0;
    auto* c = reinterpret_cast<SkinColour*>(field);
    for (int i = 0; i < colours; ++i) c[i] = AdjustColour(c[i], hue, saturation, brightness);
  }
}
