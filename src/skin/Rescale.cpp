#include "skin/Rescale.h"

#include <cmath>

namespace gr {

void RecordedLayout::Init(int formWidth, int formHeight, std::vector<ControlGeometry> controls) {
    FormWidth = formWidth;
    FormHeight = formHeight;
    Controls = std::move(controls);
    SkipNextResize = true;
}

std::vector<ControlGeometry> RecordedLayout::FormResize(int width, int height) {
    if (SkipNextResize) {
        SkipNextResize = false;
        return {};
    }
    // A window no taller than its frame, or a record made at such a size, has no ratio: leave everything
    // where it is rather than divide by zero or turn the controls upside down.
    if (Controls.empty() || width <= 0 || height <= kFrameTwips || FormWidth <= 0 ||
        FormHeight <= kFrameTwips)
        return {};
    const double ry = double(FormHeight - kFrameTwips) / double(height - kFrameTwips);
    const double rx = double(FormWidth) / double(width);
    std::vector<ControlGeometry> placed;
    placed.reserve(Controls.size());
    for (const ControlGeometry& c : Controls) {
        ControlGeometry p = c;
        p.Top = c.Top / ry;
        p.Left = c.Left / rx;
        p.Height = c.Height / ry;
        p.Width = c.Width / rx;
        if (!c.IsLine) {
            p.FontSize = c.FontSize > 0 ? RescaledFontSize(c.FontSize, rx) : 0;
            p.RightMargin = int(std::floor(c.RightMargin / ry));
        }
        placed.push_back(p);
    }
    return placed;
}

int RescaledFontSize(double size, double ratio) {
    if (!(ratio > 0)) return int(size);
    // Bounded, so a window stretched across many screens still gets a font size that fits an int.
    const double v = std::fmin(size / ratio, double(kMaxFontSize));
    // nearbyint rounds halves to the even neighbour in the default rounding mode; fmod keeps the sign.
    return int(std::floor(v) + std::fmod(std::nearbyint(v), 2.0));
}

double KeptBarWidth(double filled, double frame, double newFrame) {
    if (frame <= 0) return 0;
    return filled / frame * newFrame;
}

} // namespace gr
