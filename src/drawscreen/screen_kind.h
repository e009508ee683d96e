#pragma once

#include "lottery/draw_view.h"

namespace drawscreen {

using lottery::ScreenKind;

} // namespace drawscreen
