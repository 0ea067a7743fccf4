#include "dressing/SkinEngineModule.h"

extern "C" const unsigned char SkinEngineImage[];
extern "C" const unsigned long SkinEngineImage_size;

// Destroying it leaves the engine mapped and attached until the process ends.
MemoryModule SkinEngineModule;

bool LoadSkinEngine() { return SkinEngineModule.Load(SkinEngineImage, SkinEngineImage_size); }
