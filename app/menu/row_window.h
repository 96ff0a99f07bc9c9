#pragma once
// Which rows of a screen are in view when there are more than fit: the view moves only as far
// as keeps the highlighted row in it.
#include <algorithm>

namespace menu {

// The first row in view of `rows`, `capacity` at a time, after `first` was: the highlight
// stays where it is in the view while it is in it, else the view moves to it.
inline int firstRowShown(int first, int highlight, int rows, int capacity) {
    if (rows <= capacity) return 0;
    if (highlight < first) first = highlight;
    if (highlight >= first + capacity) first = highlight - capacity + 1;
    return std::clamp(first, 0, rows - capacity);
}

}  // namespace menu
