#pragma once
// Writes bytes to a file, creating it or cutting an existing one to zero length. An empty name or a
// file that cannot be opened is skipped; the result says whether the file was written.
#include "text/Param.h"

bool FileWrite(const Text& fileName, const Bytes& bytes);
