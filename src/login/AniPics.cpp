#include "login/AniPics.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace gr {

namespace {

constexpr double Pi = std::numbers::pi;

constexpr int LoginFrames = 29;
constexpr int CreateAccountFrames = 38;
constexpr int ConnectingFrames = 24;
constexpr int HelpIconSize = 28;

// Room around a button's body for its drop shadow and, while lit, its halo.
constexpr double ButtonMargin = 4.0;
constexpr double ButtonRadius = 8.0;

QColor Mix(const QColor& a, const QColor& b, double t) {
    const double u = 1.0 - t;
    return QColor::fromRgbF(static_cast<float>(a.redF() * u + b.redF() * t),
                            static_cast<float>(a.greenF() * u + b.greenF() * t),
                            static_cast<float>(a.blueF() * u + b.blueF() * t),
                            static_cast<float>(a.alphaF() * u + b.alphaF() * t));
}

QColor WithAlpha(QColor c, double alpha) {
    c.setAlphaF(static_cast<float>(std::clamp(alpha, 0.0, 1.0)));
    return c;
}

// A transparent canvas at device pixel ratio 1; painting into an image needs no window system.
QImage Canvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(1.0);
    image.fill(Qt::transparent);
    return image;
}

QPixmap ToPixmap(const QImage& image) {
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(1.0);
    return pixmap;
}

QFont CaptionFont(double pixelSize) {
    QFont font = QGuiApplication::font();
    font.setWeight(QFont::Bold);
    font.setPixelSize(static_cast<int>(pixelSize));
    font.setLetterSpacing(QFont::PercentageSpacing, 103.0);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// The colours of one button; everything else about the two buttons is shared.
struct ButtonHue {
    QColor Top;    // body, upper edge
    QColor Bottom; // body, lower edge
    QColor Border;
    QColor Text;
    QColor Glow; // the halo and the inner light while the mouse is over the button
};

const ButtonHue LoginHue{QColor(150, 98, 34), QColor(74, 40, 12), QColor(226, 176, 88), QColor(255, 241, 210),
                         QColor(255, 176, 64)};
const ButtonHue CreateAccountHue{QColor(30, 112, 116), QColor(10, 50, 58), QColor(104, 214, 204),
                                 QColor(226, 252, 246), QColor(80, 230, 214)};

// A small diamond, the ornament on either side of a caption.
void Diamond(QPainter& p, QPointF centre, double r, const QColor& colour) {
    QPainterPath path;
    path.moveTo(centre.x(), centre.y() - r);
    path.lineTo(centre.x() + r, centre.y());
    path.lineTo(centre.x(), centre.y() + r);
    path.lineTo(centre.x() - r, centre.y());
    path.closeSubpath();
    p.fillPath(path, colour);
}

// A soft copy of a premultiplied image: a few passes of a box blur in each direction, which comes close to a
// gaussian. Used on small images only, once per button.
QImage Blurred(const QImage& source, int radius, int passes) {
    QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = image.width(), h = image.height();
    std::vector<int> line(static_cast<std::size_t>(std::max(w, h)) * 4);
    const auto blurLine = [&](auto at, int length) {
        for (int i = 0; i < length; ++i) {
            const QRgb px = *at(i);
            line[4 * i] = qAlpha(px);
            line[4 * i + 1] = qRed(px);
            line[4 * i + 2] = qGreen(px);
            line[4 * i + 3] = qBlue(px);
        }
        const int span = 2 * radius + 1;
        for (int i = 0; i < length; ++i) {
            int sum[4] = {0, 0, 0, 0};
            for (int k = i - radius; k <= i + radius; ++k)
                if (k >= 0 && k < length)
                    for (int c = 0; c < 4; ++c)
                        sum[c] += line[4 * k + c];
            *at(i) = qRgba(sum[1] / span, sum[2] / span, sum[3] / span, sum[0] / span);
        }
    };
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            blurLine([row](int i) { return row + i; }, w);
        }
        for (int x = 0; x < w; ++x)
            blurLine([&image, x](int i) { return reinterpret_cast<QRgb*>(image.scanLine(i)) + x; }, h);
    }
    return image;
}

// A button's caption laid out and rendered once, shared by all its frames: the letters as a white mask
// (tinted per frame), their drop shadow, and a soft glow in the button's hue.
struct Caption {
    QImage Mask;
    QImage Shadow;
    QImage Glow;
    double Width = 0;
    double MiddleY = 0;
};

Caption LayOutCaption(const QString& caption, const QFont& font, const QColor& glow) {
    const int w = AniPics::ButtonWidth, h = AniPics::ButtonHeight;
    const QFontMetricsF metrics(font);
    Caption laid;
    laid.Width = metrics.horizontalAdvance(caption);
    laid.MiddleY = h / 2.0;
    QPainterPath text;
    text.addText(QPointF(w / 2.0 - laid.Width / 2, laid.MiddleY + metrics.capHeight() / 2.0), font, caption);

    const auto render = [&](const QColor& colour, QPointF offset) {
        QImage image = Canvas(w, h);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(text.translated(offset), colour);
        return image;
    };
    laid.Mask = render(Qt::white, QPointF(0, 0));
    laid.Shadow = Blurred(render(QColor(0, 0, 0, 255), QPointF(0, 1.3)), 1, 1);
    laid.Glow = Blurred(render(glow, QPointF(0, 0)), 2, 2);
    return laid;
}

QRectF ButtonBody() {
    return QRectF(ButtonMargin, ButtonMargin, AniPics::ButtonWidth - 2 * ButtonMargin,
                  AniPics::ButtonHeight - 2 * ButtonMargin);
}

// Everything of a button but its sheen and its caption, for a glow level from 0 (resting) to 1 (fully lit).
// The frames blend the two ends, which matches painting each level afresh because every colour here moves
// linearly with the glow.
QImage PaintChrome(const Caption& caption, const ButtonHue& hue, double glow) {
    const double w = AniPics::ButtonWidth;
    QImage image = Canvas(AniPics::ButtonWidth, AniPics::ButtonHeight);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF body = ButtonBody();
    QPainterPath bodyPath;
    bodyPath.addRoundedRect(body, ButtonRadius, ButtonRadius);

    // Shadow below the body at rest, a coloured halo when lit.
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 4; ++i) {
        const double fade = 1.0 - i / 5.0;
        const QRectF ring = body.adjusted(-i + 0.5, -i + 1.5, i - 0.5, i - 0.5);
        const QColor shade = Mix(QColor(0, 0, 0), hue.Glow, glow);
        p.setPen(QPen(WithAlpha(shade, (0.30 + 0.25 * glow) * fade * fade), 1.0));
        p.drawRoundedRect(ring, ButtonRadius + i, ButtonRadius + i);
    }

    // Body: a vertical gradient that brightens with the glow.
    const double lift = 0.18 * glow;
    QLinearGradient fill(0, body.top(), 0, body.bottom());
    fill.setColorAt(0.0, Mix(hue.Top.lighter(118), hue.Glow, lift));
    fill.setColorAt(0.5, Mix(hue.Top, hue.Glow, lift * 0.8));
    fill.setColorAt(1.0, Mix(hue.Bottom, hue.Glow, lift * 0.5));
    p.fillPath(bodyPath, fill);

    p.save();
    p.setClipPath(bodyPath);
    // Light welling up from inside the lower edge while lit.
    if (glow > 0.0) {
        QRadialGradient well(QPointF(w / 2, body.bottom() + 6), w * 0.55);
        well.setColorAt(0.0, WithAlpha(hue.Glow, 0.45 * glow));
        well.setColorAt(1.0, WithAlpha(hue.Glow, 0.0));
        p.fillRect(body, well);
    }
    // Bevel: a lit upper rim fading to a shaded lower rim.
    QLinearGradient bevel(0, body.top(), 0, body.bottom());
    bevel.setColorAt(0.0, QColor(255, 255, 255, 105));
    bevel.setColorAt(0.45, QColor(255, 255, 255, 0));
    bevel.setColorAt(0.7, QColor(0, 0, 0, 0));
    bevel.setColorAt(1.0, QColor(0, 0, 0, 90));
    p.setPen(QPen(QBrush(bevel), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(body.adjusted(1.6, 1.6, -1.6, -1.6), ButtonRadius - 1.5, ButtonRadius - 1.5);
    p.restore();

    // Border.
    const QColor border = Mix(hue.Border, QColor(255, 248, 225), 0.45 * glow);
    p.setPen(QPen(WithAlpha(border, 0.78 + 0.2 * glow), 1.0));
    p.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), ButtonRadius - 0.5, ButtonRadius - 0.5);

    // Diamonds either side of the caption.
    const double ornamentGap = 11.0;
    const QColor ornament = WithAlpha(Mix(hue.Border, QColor(255, 250, 230), 0.5 * glow), 0.85);
    Diamond(p, QPointF(w / 2 - caption.Width / 2 - ornamentGap, caption.MiddleY), 3.0, ornament);
    Diamond(p, QPointF(w / 2 + caption.Width / 2 + ornamentGap, caption.MiddleY), 3.0, ornament);
    return image;
}

// What a button's frames are made of, painted once per button.
struct ButtonLayers {
    Caption Text;
    QImage Rest;     // the resting chrome
    QImage Lit;      // the fully lit chrome
    QImage BodyMask; // where the sheen may fall
};

// One frame of a button. `phase` runs over [0, 1) through the hover loop; phase 0 is the resting look,
// and the glow and the sheen both fade to nothing at either end, so the loop closes on the resting frame.
QImage PaintButton(const ButtonLayers& layers, const ButtonHue& hue, double phase) {
    const double w = AniPics::ButtonWidth, h = AniPics::ButtonHeight;
    const double s = std::sin(Pi * phase);
    const double pulse = s * s; // 0 at rest, 1 half-way through the loop

    QImage image = layers.Rest;
    QPainter p(&image);
    if (pulse > 0.0) {
        p.setOpacity(pulse);
        p.drawImage(0, 0, layers.Lit);
        p.setOpacity(1.0);
    }

    // The sheen: a slanted band of light that crosses the button once per loop, off the body at both ends.
    const double halfBand = 26.0;
    const double centre = -halfBand * 1.6 + phase * (w + halfBand * 3.2);
    const double slant = 0.45;
    const QPointF from(centre - halfBand, h / 2 - halfBand * slant);
    const QPointF to(centre + halfBand, h / 2 + halfBand * slant);
    const auto tinted = [](const QImage& mask, const QBrush& brush) {
        QImage out = mask;
        QPainter tint(&out);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(out.rect(), brush);
        return out;
    };
    QLinearGradient sheen(from, to);
    sheen.setColorAt(0.0, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.5, QColor(255, 250, 235, 60));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.drawImage(0, 0, tinted(layers.BodyMask, sheen));

    // Caption: shadow, glow, then the letters, with the same sheen running through them, brighter there so
    // that it reads as light on the caption.
    const Caption& caption = layers.Text;
    p.setOpacity(0.75);
    p.drawImage(0, 0, caption.Shadow);
    if (pulse > 0.0) {
        p.setOpacity(std::min(1.0, 1.4 * pulse));
        p.drawImage(0, 0, caption.Glow);
    }
    p.setOpacity(1.0);
    QLinearGradient ink(from, to);
    const QColor baseInk = Mix(hue.Text, QColor(255, 255, 255), 0.35 * pulse);
    ink.setColorAt(0.0, baseInk);
    ink.setColorAt(0.5, QColor(255, 255, 255));
    ink.setColorAt(1.0, baseInk);
    p.drawImage(0, 0, tinted(caption.Mask, ink));
    return image;
}

// The longest pixel size, at most `largest`, at which every caption fits between its ornaments.
double FittingCaptionSize(const QStringList& captions, double largest) {
    const double room = AniPics::ButtonWidth - 2 * ButtonMargin - 2 * 22.0;
    for (double size = largest; size > 9.0; size -= 1.0) {
        const QFontMetricsF metrics(CaptionFont(size));
        const bool fits = std::all_of(captions.begin(), captions.end(), [&](const QString& caption) {
            return metrics.horizontalAdvance(caption) <= room;
        });
        if (fits) return size;
    }
    return 9.0;
}

std::vector<QPixmap> ButtonFrames(const QString& text, const ButtonHue& hue, const QFont& font, int count) {
    ButtonLayers layers;
    layers.Text = LayOutCaption(text, font, hue.Glow);
    layers.Rest = PaintChrome(layers.Text, hue, 0.0);
    layers.Lit = PaintChrome(layers.Text, hue, 1.0);
    layers.BodyMask = Canvas(AniPics::ButtonWidth, AniPics::ButtonHeight);
    {
        QPainter p(&layers.BodyMask);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(ButtonBody().adjusted(1, 1, -1, -1), ButtonRadius - 1, ButtonRadius - 1);
    }
    std::vector<QPixmap> frames;
    frames.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        frames.push_back(ToPixmap(PaintButton(layers, hue, static_cast<double>(i) / count)));
    return frames;
}

// One frame of the connecting animation: an ember comet with a fading tail on a faint ring, and three
// small teal lights orbiting the other way inside it. Both motions repeat exactly after the last frame.
QImage PaintConnecting(int frame) {
    const int size = AniPics::ConnectingSize;
    QImage image = Canvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(size / 2.0, size / 2.0);
    const double t = static_cast<double>(frame) / ConnectingFrames;

    const double outer = size * 0.36;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 214, 160, 34), 3.0));
    p.drawEllipse(c, outer, outer);

    // Qt's angles run anticlockwise; the comet runs clockwise, so its tail lies anticlockwise of its head.
    const double head = -360.0 * t;
    QConicalGradient tail(c, head);
    tail.setColorAt(0.0, QColor(255, 214, 140, 255));
    tail.setColorAt(0.12, QColor(255, 160, 64, 200));
    tail.setColorAt(0.45, QColor(210, 90, 40, 60));
    tail.setColorAt(0.7, QColor(180, 60, 40, 0));
    tail.setColorAt(1.0, QColor(180, 60, 40, 0));
    p.setPen(QPen(QBrush(tail), 3.2, Qt::SolidLine, Qt::FlatCap));
    p.drawEllipse(c, outer, outer);

    const double headRad = head * Pi / 180.0;
    const QPointF headPoint(c.x() + outer * std::cos(headRad), c.y() - outer * std::sin(headRad));
    QRadialGradient glow(headPoint, 7.0);
    glow.setColorAt(0.0, QColor(255, 248, 225, 255));
    glow.setColorAt(0.3, QColor(255, 196, 100, 210));
    glow.setColorAt(1.0, QColor(255, 140, 40, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(headPoint, 7.0, 7.0);

    // Inner lights: three-fold symmetric, so a third of a turn per loop brings them back where they began.
    const double inner = size * 0.17;
    for (int k = 0; k < 3; ++k) {
        const double a = 2.0 * Pi * (t / 3.0 + k / 3.0);
        const QPointF at(c.x() + inner * std::cos(a), c.y() - inner * std::sin(a));
        QRadialGradient dot(at, 3.6);
        dot.setColorAt(0.0, QColor(200, 255, 248, 230));
        dot.setColorAt(0.45, QColor(80, 220, 210, 150));
        dot.setColorAt(1.0, QColor(40, 160, 170, 0));
        p.setBrush(dot);
        p.drawEllipse(at, 3.6, 3.6);
    }
    return image;
}

QImage PaintHelpIcon() {
    const int size = HelpIconSize;
    QImage image = Canvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(size / 2.0, size / 2.0 - 0.5);
    const double r = size / 2.0 - 2.0;

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawEllipse(c + QPointF(0, 1.0), r + 1.0, r + 1.0);

    QRadialGradient face(c + QPointF(-r * 0.3, -r * 0.4), r * 1.5);
    face.setColorAt(0.0, QColor(84, 74, 150));
    face.setColorAt(1.0, QColor(26, 22, 60));
    p.setBrush(face);
    p.drawEllipse(c, r, r);

    // Bevel: light along the upper rim, shade along the lower.
    QLinearGradient bevel(0, c.y() - r, 0, c.y() + r);
    bevel.setColorAt(0.0, QColor(255, 255, 255, 110));
    bevel.setColorAt(0.5, QColor(255, 255, 255, 0));
    bevel.setColorAt(1.0, QColor(0, 0, 0, 80));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(bevel), 1.1));
    p.drawEllipse(c, r - 1.4, r - 1.4);
    p.setPen(QPen(QColor(222, 172, 90, 230), 1.1));
    p.drawEllipse(c, r - 0.3, r - 0.3);

    QFont font = CaptionFont(17);
    font.setLetterSpacing(QFont::PercentageSpacing, 100.0);
    QPainterPath mark;
    mark.addText(0, 0, font, QStringLiteral("?"));
    const QRectF bounds = mark.boundingRect();
    mark.translate(c - bounds.center());
    p.fillPath(mark.translated(0, 1.0), QColor(0, 0, 0, 150));
    p.fillPath(mark, QColor(250, 232, 196));
    return image;
}

// Deterministic numbers for the stars: the engine's output sequence is fixed by the language, and the
// mapping to [0, 1) is done here rather than by a distribution whose results vary between libraries.
class StarDice {
  public:
    double Next() { return static_cast<double>(engine_()) / 4294967296.0; }

  private:
    std::mt19937 engine_{20240611u};
};

// The height of a ridge at `u` across the width, as a fraction of the height: a few sines, so the same
// shape comes back at every size.
double RidgeAt(double u, double base, double amplitude, double seed, double floor) {
    const double y =
        base + amplitude * (0.55 * std::sin(u * 5.1 + seed) + 0.30 * std::sin(u * 11.3 + seed * 2.1) +
                            0.15 * std::sin(u * 23.7 + seed * 3.7));
    return std::min(y, floor);
}

QPainterPath Ridge(double w, double h, double base, double amplitude, double seed, double floor) {
    QPainterPath path;
    path.moveTo(0, h);
    const int steps = 96;
    for (int i = 0; i <= steps; ++i) {
        const double u = static_cast<double>(i) / steps;
        path.lineTo(u * w, RidgeAt(u, base, amplitude, seed, floor) * h);
    }
    path.lineTo(w, h);
    path.closeSubpath();
    return path;
}

// A slender tower with a pointed roof and one lit window, standing on the ridge at `x`.
void Tower(QPainter& p, double x, double groundY, double width, double height, const QColor& stone) {
    QPainterPath path;
    const double roof = width * 1.5;
    path.moveTo(x - width / 2, groundY);
    path.lineTo(x - width / 2, groundY - height);
    path.lineTo(x - width * 0.68, groundY - height);
    path.lineTo(x, groundY - height - roof);
    path.lineTo(x + width * 0.68, groundY - height);
    path.lineTo(x + width / 2, groundY - height);
    path.lineTo(x + width / 2, groundY);
    path.closeSubpath();
    p.fillPath(path, stone);
    const double win = std::max(1.2, width * 0.22);
    const QRectF window(x - win / 2, groundY - height * 0.78, win, win * 1.8);
    p.fillRect(window, QColor(255, 170, 70, 150));
}

} // namespace

const AniPics& AniPics::Get() {
    static const AniPics pics = [] {
        AniPics made;
        const QString login = QStringLiteral("Log In");
        const QString create = QStringLiteral("Create Account");
        const QFont font = CaptionFont(FittingCaptionSize({login, create}, 17.0));
        made.LoginAni = ButtonFrames(login, LoginHue, font, LoginFrames);
        made.CreateAccountAni = ButtonFrames(create, CreateAccountHue, font, CreateAccountFrames);
        made.ConnectingAni.reserve(ConnectingFrames);
        for (int i = 0; i < ConnectingFrames; ++i)
            made.ConnectingAni.push_back(ToPixmap(PaintConnecting(i)));
        made.HelpIcon = ToPixmap(PaintHelpIcon());
        return made;
    }();
    return pics;
}

QPixmap AniPics::Backdrop(const QSize& size) {
    const int width = std::max(1, size.width()), height = std::max(1, size.height());
    const double w = width, h = height;
    QImage image = Canvas(width, height);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Sky: deep indigo overhead, through violet, to ember at the horizon.
    const double horizon = 0.74;
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(9, 8, 26));
    sky.setColorAt(0.30, QColor(22, 18, 52));
    sky.setColorAt(0.52, QColor(48, 28, 72));
    sky.setColorAt(0.64, QColor(96, 42, 70));
    sky.setColorAt(horizon, QColor(168, 78, 52));
    sky.setColorAt(1.0, QColor(120, 50, 40));
    p.fillRect(QRectF(0, 0, w, h), sky);

    // Afterglow where the sun went down.
    QRadialGradient afterglow(QPointF(w * 0.62, h * horizon), std::max(w, h) * 0.55);
    afterglow.setColorAt(0.0, QColor(255, 150, 70, 90));
    afterglow.setColorAt(0.35, QColor(220, 90, 60, 35));
    afterglow.setColorAt(1.0, QColor(120, 40, 60, 0));
    p.fillRect(QRectF(0, 0, w, h), afterglow);

    // Stars, thinning towards the horizon; placed in proportion to the size.
    StarDice dice;
    const int stars = std::clamp(static_cast<int>(w * h / 1800.0), 12, 400);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < stars; ++i) {
        const double x = dice.Next() * w;
        // Density falls linearly from the top of the sky to nothing above the hills.
        const double y = (1.0 - std::sqrt(dice.Next())) * h * 0.6;
        const double bright = dice.Next();
        const double fade = 1.0 - y / (h * 0.62);
        const double r = bright > 0.92 ? 1.1 : 0.6;
        p.setBrush(QColor(255, 244, 226, static_cast<int>((60 + 150 * bright) * fade)));
        p.drawEllipse(QPointF(x, y), r, r);
        if (bright > 0.97) {
            QRadialGradient halo(QPointF(x, y), 4.0);
            halo.setColorAt(0.0, QColor(255, 240, 220, static_cast<int>(70 * fade)));
            halo.setColorAt(1.0, QColor(255, 240, 220, 0));
            p.setBrush(halo);
            p.drawEllipse(QPointF(x, y), 4.0, 4.0);
        }
    }

    // A thin crescent moon, high on the left.
    const double moonR = std::max(4.0, std::min(w, h) * 0.035);
    const QPointF moon(w * 0.16, h * 0.16);
    QPainterPath lit;
    lit.addEllipse(moon, moonR, moonR);
    QPainterPath bite;
    bite.addEllipse(moon + QPointF(moonR * 0.42, -moonR * 0.18), moonR * 0.95, moonR * 0.95);
    QRadialGradient moonGlow(moon, moonR * 4.0);
    moonGlow.setColorAt(0.0, QColor(255, 236, 200, 30));
    moonGlow.setColorAt(1.0, QColor(255, 236, 200, 0));
    p.setBrush(moonGlow);
    p.drawEllipse(moon, moonR * 4.0, moonR * 4.0);
    p.fillPath(lit.subtracted(bite), QColor(250, 232, 196, 200));

    // Hills: a hazy far range, then a near range with towers on it.
    p.fillPath(Ridge(w, h, 0.70, 0.045, 1.3, 0.76), QColor(70, 34, 62, 200));
    const QColor stone(20, 14, 32);
    const auto nearGround = [&](double u) { return RidgeAt(u, 0.80, 0.035, 4.2, 0.86) * h; };
    const double unit = std::min(w, h);
    Tower(p, w * 0.78, nearGround(0.78) + 2, unit * 0.030, unit * 0.16, stone);
    Tower(p, w * 0.815, nearGround(0.815) + 2, unit * 0.022, unit * 0.10, stone);
    Tower(p, w * 0.745, nearGround(0.745) + 2, unit * 0.018, unit * 0.075, stone);
    p.fillPath(Ridge(w, h, 0.80, 0.035, 4.2, 0.86), stone);

    // Low mist over the valley, and a vignette to keep the edges quiet.
    QLinearGradient mist(0, h * 0.78, 0, h);
    mist.setColorAt(0.0, QColor(120, 60, 80, 0));
    mist.setColorAt(0.5, QColor(90, 50, 80, 40));
    mist.setColorAt(1.0, QColor(10, 8, 20, 120));
    p.fillRect(QRectF(0, 0, w, h), mist);
    QRadialGradient vignette(QPointF(w / 2, h * 0.45), std::hypot(w, h) * 0.62);
    vignette.setColorAt(0.55, QColor(0, 0, 0, 0));
    vignette.setColorAt(1.0, QColor(0, 0, 0, 120));
    p.fillRect(QRectF(0, 0, w, h), vignette);
    p.end();
    return ToPixmap(image);
}

} // namespace gr
