#include "skin/Rescale.h"

#include <cmath>

namespace gr {

int RescaledFontSize(double size, double ratio) {
    if (!(ratio > 0)) return int(size);
    // Bounded, so a window stretched across many screens still gets a font size that fits an int.
    const double v = std::fmin(size / ratio, double(kMaxRescaledFontSize));
    // nearbyint rounds halves to the even neighbour in the default rounding mode; fmod keeps the sign.
    return int(std::floor(v) + std::fmod(std::nearbyint(v), 2.0));
}

} // namespace gr
