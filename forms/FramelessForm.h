#pragma once
// For forms that draw their own title line and close button: the window loses the system's title
// bar and thick frame but keeps its outer place and size, so the form's layout fits its client area.
#include "forms/Form.h"

void MakeFormFrameless(Form& form);
