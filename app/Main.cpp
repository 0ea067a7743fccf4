#include <windows.h>

#include "app/StartUp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunProgram(); }
