#pragma once
// The program-wide module that holds the skin engine, and its loading at start-up.
#include "loader/MemoryModule.h"

extern MemoryModule SkinEngineModule;

// Maps the engine image carried in the program into SkinEngineModule; false when it cannot.
bool LoadSkinEngine();
