#pragma once

#include "lottery/draw_view.h"

#include <string>
#include <vector>

namespace drawscreen {

// The texts (GBK, masked) of the entries a picture shows, in order; an empty text for a freed
// position. At most a round's worth.
std::vector<std::string> shownTexts(const lottery::DrawPicture& picture);

} // namespace drawscreen
