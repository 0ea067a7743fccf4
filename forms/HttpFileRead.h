#pragma once
// Reads a whole resource over HTTP or HTTPS: every byte received, whatever the status; empty bytes
// when the address is no http/https address or no connection or request could be made.
#include "text/Param.h"

Bytes HttpFileRead(const Text& address);
