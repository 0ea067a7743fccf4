#include "text/CodePage.h"
#include "web/WebAccess.h"

// Always code page 936, whatever the system's ANSI code page is.
Text Utf8ToGbkText(const Bytes& body) { return Utf8ToGbk(body); }
