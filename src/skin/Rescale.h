#pragma once
// Resizing a window: the geometry of every control is recorded once (after a skin has been applied), and
// every later size of the window places each control from that record, so rounding never accumulates.
// Sizes are in twips of the window's outer size; the 400 twips of caption and menu take no part in the
// vertical ratio, so the controls fill the client area as the window grows.
#include <vector>

namespace gr {

constexpr int kFrameTwips = 400;
constexpr int kMaxFontSize = 400;

struct ControlGeometry {
    bool IsLine = false; // a line keeps its end points: Top = Y1, Left = X1, Height = Y2, Width = X2
    double Top = 0, Left = 0, Height = 0, Width = 0;
    int FontSize = 0;    // 0: the control shows no text
    int RightMargin = 0; // the text display's margin on the right
    bool operator==(const ControlGeometry&) const = default;
};

class RecordedLayout {
  public:
    // Records the window's outer size and its controls, in the window's control order. The first resize
    // that follows changes nothing (it is the window settling at the size just recorded).
    void Init(int formWidth, int formHeight, std::vector<ControlGeometry> controls);
    // The controls at the window's new outer size; empty when nothing is recorded, when this is the first
    // resize after Init, or when the size leaves no room (at most the frame's height, or no width).
    std::vector<ControlGeometry> FormResize(int width, int height);

    bool Recorded() const { return !Controls.empty(); }

  private:
    int FormWidth = 0, FormHeight = 0;
    std::vector<ControlGeometry> Controls;
    bool SkipNextResize = false;
};

// The font size at a horizontal ratio: Int(v) + (Nearest(v) mod 2) with v = size / ratio, Int rounding down
// and Nearest rounding halves to the even neighbour (9.4 gives 10, 9.6 gives 9, 10.5 gives 10, 10.7 gives
// 11).
int RescaledFontSize(double size, double ratio);

// A status bar's filled width for a new frame width, keeping the fraction it showed.
double KeptBarWidth(double filled, double frame, double newFrame);

} // namespace gr
