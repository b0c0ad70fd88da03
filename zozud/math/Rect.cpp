#include "zozud/math/Rect.h"

namespace zozud {

const cRect cRect::Zero(0, 0, 0, 0);
const cRect cRect::Unit(0, 0, 1, 1);

// Moves the far edge in first, then the near edge: a rectangle larger than
// the bounds ends with its low edges on the bounds' low edges.
void cRect::AlignInside(const cRect& b) {
    if (x1 > b.x1) Translate(b.x1 - x1, 0);
    if (x0 < b.x0) Translate(b.x0 - x0, 0);
    if (y1 > b.y1) Translate(0, b.y1 - y1);
    if (y0 < b.y0) Translate(0, b.y0 - y0);
}

}  // namespace zozud
