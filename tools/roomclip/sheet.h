// Contact sheets: pictures side by side in one PNG, for looking at what the tool makes.
#pragma once

#include <string>
#include <vector>

#include "tools/roomclip/image.h"

namespace roomclip {

// Lays the pictures out in rows of `columns`, each cell as large as the largest picture.
Image tile(const std::vector<Image>& pictures, int columns);

// Every hand photo's cut and its four shapes, large and at a player's size with a forearm.
bool handSheet(Image& sheet, std::string& error);

}  // namespace roomclip
