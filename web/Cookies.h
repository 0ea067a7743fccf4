#pragma once
// Cookies kept as plain cookie texts: name=value items joined by "; ". Attributes are dropped on
// collection; an item goes away only through a value of "deleted" or an empty value.
#include <vector>

#include "text/Param.h"

// The name=value pairs of the "Set-Cookie: " lines of a CR LF separated header block, in header
// order, joined by "; ".
Text CollectSetCookies(const Text& headers);

// Folds the cookies that came back into those that were sent: the returned items first, then the
// sent items whose name was not returned; deleted and empty-valued items dropped, exact repeats
// removed. Both variables lose their spaces; sent also receives the result.
Text MergeCookies(Text& sent, Text& returned);

// The text before the first "=", trimmed; an item without "=" is its own name.
Text CookieName(const Text& item);

// Whether some item of the list has that cookie name (compared case-sensitively).
bool HasCookieName(const std::vector<Text>& items, const Text& name);

// False only for an empty-valued item: one "=" in all, at its (trimmed) end.
bool IsCookiePairKept(const Text& item);

// The items of the text between separators, each kept only the first time it occurs.
Text RemoveDuplicateItems(const Text& text, const Text& separator);
