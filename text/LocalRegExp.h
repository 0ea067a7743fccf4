#pragma once
// The in-process engine dressed as an automation object with the members of the scripting
// component (IgnoreCase, Multiline, Global, Pattern, Execute, Test, Replace; match collections
// with Count and Item; matches with Value, FirstIndex, Length and SubMatches), so RegexObject
// drives either one by member name in the same way. Single-threaded like the object using it.
#include <windows.h>
#include <oaidl.h>

// A new object with one reference, or null when memory runs out.
IDispatch* CreateLocalRegExp();
