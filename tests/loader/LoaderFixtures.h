#pragma once
// The test images built by this folder's CMake and carried inside the test program.
#include <cstdint>

#include "text/Param.h"

extern "C" const unsigned char LoaderImageA[];
extern "C" const unsigned long LoaderImageA_size;
extern "C" const unsigned char LoaderProgramC[];
extern "C" const unsigned long LoaderProgramC_size;
extern "C" const unsigned char LoaderLibraryB[];
extern "C" const unsigned long LoaderLibraryB_size;

inline Bytes EmbeddedBytes(const unsigned char* data, unsigned long size) { return Bytes(data, data + size); }
