#include "dressing/PromptWindow.h"

bool OpenPromptWindow() { return false; }
