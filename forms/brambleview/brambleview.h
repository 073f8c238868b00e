#pragma once

#include "forms/shared/formdefinition.h"

namespace forms {

// Brambleview, the 562 x 520 status panel with its embedded game-start page.
Program brambleview();

} // namespace forms
