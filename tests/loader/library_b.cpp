// A second library, loaded by the system, that the in-memory test library imports from.
extern "C" int BTwice(int x) { return 2 * x; }
extern "C" int BSeven() { return 7; }
