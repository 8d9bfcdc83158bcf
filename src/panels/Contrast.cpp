#include "panels/Contrast.h"

#include <algorithm>
#include <cmath>

namespace gr {

namespace {
// One sRGB channel (0..255) as linear light.
double Linear(std::uint32_t channel) {
    const double c = double(channel) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
} // namespace

double RelativeLuminance(std::uint32_t bgr) {
    const std::uint32_t red = bgr & 0xFF;
    const std::uint32_t green = bgr >> 8 & 0xFF;
    const std::uint32_t blue = bgr >> 16 & 0xFF;
    return 0.2126 * Linear(red) + 0.7152 * Linear(green) + 0.0722 * Linear(blue);
}

double ContrastRatio(std::uint32_t bgrA, std::uint32_t bgrB) {
    const double a = RelativeLuminance(bgrA);
    const double b = RelativeLuminance(bgrB);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

} // namespace gr
