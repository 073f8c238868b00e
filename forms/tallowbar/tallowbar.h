#pragma once

#include "forms/shared/formdefinition.h"

namespace forms {

// Tallowbar, the 240 x 89 ticker.
Program tallowbar();

} // namespace forms
