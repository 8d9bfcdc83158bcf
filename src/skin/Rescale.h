#pragma once
// Resizing the game window: every control is placed from the layout table at each new size (see Place),
// so rounding never accumulates and a window brought back to its first size looks exactly as it did. Text
// grows and shrinks with the window's width by the rounding rule below.

namespace gr {

constexpr int kMaxRescaledFontSize = 400;

// The font size at a horizontal ratio (the design width over the window's width): Int(v) + (Nearest(v) mod
// 2) with v = size / ratio, Int rounding down and Nearest rounding halves to the even neighbour (9.4 gives
// 10, 9.6 gives 9, 10.5 gives 10, 10.7 gives 11). At most kMaxRescaledFontSize.
int RescaledFontSize(double size, double ratio);

} // namespace gr
