#pragma once
// Small text operations on header lines and markers. Positions follow code page 936 characters:
// a marker never matches starting on the second byte of a two-byte character.
#include "text/Param.h"

// The text between the first left marker and the next right marker after it; empty when either
// is missing. "#引号" in a marker stands for a double quote.
Text TextBetween(const Text& text, const Text& left, const Text& right);

// The text before the first marker; empty when the marker is missing.
Text TextBefore(const Text& text, const Text& marker);

// The text after the first colon without surrounding ASCII or full-width spaces; empty when there
// is no colon.
Text ValueAfterColon(const Text& text);

// The text with its first character upper-cased when it is an ASCII lower-case letter.
Text CapitaliseFirst(const Text& text);

// Keeps the lines of a CR LF separated block that hold a colon and capitalises every
// hyphen-separated piece of each header name; the lines are joined with CR LF, none after the last.
Text NormaliseHeaderNames(const Text& headers);
