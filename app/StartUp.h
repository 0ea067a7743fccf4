#pragma once
// The program's entry sequence and its shutdown routine.

// Creates the program-wide objects, arranges the shutdown routine and starts the libraries the
// dressing needs. Runs once on the main thread before any window exists.
void StartUp();
// Releases the program-wide objects; run once at the end of the program.
void ShutDown();
// Start-up, the main window and the message loop: the whole program.
int RunProgram();
