#pragma once
// How well text of one colour reads on another: the contrast ratio of the accessibility guidelines for
// web content, from the relative luminance of each colour. Text needs at least kMinTextContrast.
#include <cstdint>

namespace gr {

constexpr double kMinTextContrast = 4.5;

// Colours as the system writes them: 0xBBGGRR. 0 for black, 1 for white.
double RelativeLuminance(std::uint32_t bgr);
// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on white; the order does not matter.
double ContrastRatio(std::uint32_t bgrA, std::uint32_t bgrB);

} // namespace gr
