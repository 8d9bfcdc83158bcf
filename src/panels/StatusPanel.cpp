#include "panels/StatusPanel.h"

#include <QPainter>
#include <QRegion>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "core/BoundText.h"
#include "core/RunTimeError.h"
#include "core/WireText.h"
#include "skin/Rescale.h"

namespace gr {

namespace {
// Colours of the panel's text on the window's dusk (0xBBGGRR).
constexpr std::uint32_t kCaptionColour = 0xE6B8C8; // #c8b8e6
constexpr std::uint32_t kValueColour = 0xC8E6F3;   // #f3e6c8
constexpr std::uint32_t kTroughColour = 0x1E0F14;  // #140f1e
constexpr std::uint32_t kTroughBorderColour = 0x806A70;
constexpr std::uint32_t kStaminaColour = 0xC0A020;
constexpr int kMinTextPixels = 8; // smaller text is not read comfortably

const std::array<const char*, 4> kBarNames = {"Experience", "Stamina", "Hit points", "Magic"};

QColor FromBgr(std::uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int(bgr >> 8 & 0xFF), int(bgr >> 16 & 0xFF));
}

QRect ToRect(const PixelRect& r) {
    return QRect(r.Left, r.Top, r.Width, r.Height);
}
} // namespace

QString StatusLabel::ShownText() const {
    // Lines the server separates with a line break; one line when the label holds only one: all of them
    // side by side when they fit, otherwise the last (the experience's numbers; its percentage is on the
    // experience bar).
    QStringList lines = text().split(QStringLiteral("\r\n"));
    const int lineHeight = QFontMetrics(font()).height();
    if (lines.size() == 1 || height() >= lines.size() * lineHeight) return lines.join(QLatin1Char('\n'));
    const QString joined = lines.join(QLatin1Char(' '));
    QFont smaller = font();
    if (smaller.pixelSize() > kMinTextPixels) smaller.setPixelSize(smaller.pixelSize() - 1);
    return QFontMetrics(smaller).horizontalAdvance(joined) <= width() ? joined : lines.last();
}

void StatusLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QFont f = font();
    const QString shown = ShownText();
    const QStringList lines = shown.split(QLatin1Char('\n'));
    auto widest = [&](const QFont& font) {
        const QFontMetrics m(font);
        int w = 0;
        for (const QString& line : lines)
            w = std::max(w, m.horizontalAdvance(line));
        return w;
    };
    while (f.pixelSize() > kMinTextPixels && widest(f) > width())
        f.setPixelSize(f.pixelSize() - 1);
    p.setFont(f);
    p.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics m(f);
    QStringList drawn;
    for (const QString& line : lines)
        drawn << m.elidedText(line, Qt::ElideRight, width());
    p.drawText(rect(), int(alignment()), drawn.join(QLatin1Char('\n')));
}

void BarCaption::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(font());
    const QRect r = rect().adjusted(4, 0, -4, 0);
    const QString shown = QFontMetrics(font()).elidedText(text(), Qt::ElideRight, r.width());
    p.setPen(QColor(0, 0, 0, 200));
    for (const QPoint& d : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
        p.drawText(r.translated(d), Qt::AlignLeft | Qt::AlignVCenter, shown);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, shown);
}

StatusBar::StatusBar(bool reference_, QWidget* parent) : QWidget(parent), reference(reference_) {
    colour = reference ? kTroughBorderColour : 0;
}

void StatusBar::SetColour(std::uint32_t bgr) {
    if (bgr == colour) return;
    colour = bgr;
    update();
}

void StatusBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (reference) {
        p.fillRect(rect(), FromBgr(kTroughColour));
        p.setPen(FromBgr(colour));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    } else {
        p.fillRect(rect(), FromBgr(colour));
    }
}

StatusPanel::StatusPanel(const std::array<std::string, 7>& barColours_, QWidget* parent)
    : QWidget(parent), barColours(barColours_) {
    setObjectName(QStringLiteral("Status"));
    setAccessibleName(QStringLiteral("Status"));
    QPalette captionPalette = palette();
    captionPalette.setColor(QPalette::WindowText, FromBgr(kCaptionColour));
    QPalette valuePalette = palette();
    valuePalette.setColor(QPalette::WindowText, FromBgr(kValueColour));
    for (int k = 0; k < kStatusValueCount; ++k) {
        const QString caption = QString::fromLatin1(kStatusCaptions[std::size_t(k)]);
        auto* c = new StatusLabel(caption, this);
        c->setTextFormat(Qt::PlainText);
        c->setPalette(captionPalette);
        c->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        c->setAccessibleName(caption);
        c->setObjectName(QStringLiteral("Captions%1").arg(k));
        c->setVisible(!caption.isEmpty()); // the free value has no caption
        Captions[std::size_t(k)] = c;
        auto* d = new StatusLabel(this);
        d->setTextFormat(Qt::PlainText);
        d->setPalette(valuePalette);
        d->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        d->setObjectName(QStringLiteral("Data%1").arg(k));
        d->setAccessibleName(caption);
        d->setVisible(!caption.isEmpty()); // the free value shows once it has a text
        Data[std::size_t(k)] = d;
    }
    for (int k = 0; k < kStatusBarCount; ++k) {
        const bool reference = k % 2 == 1;
        Bar[std::size_t(k)] = new StatusBar(reference, this);
        Bar[std::size_t(k)]->setObjectName(QStringLiteral("Bar%1").arg(k));
        fractions[std::size_t(k)] = 1; // full until the server says otherwise
    }
    Bar[kExperienceBar]->SetColour(kExperienceColour);
    Bar[kStaminaBar]->SetColour(kStaminaColour);
    Bar[kHitPointsBar]->SetColour(NormalColour(4, kDefaultHitPointsColour));
    Bar[kMagicBar]->SetColour(NormalColour(6, kDefaultMagicColour));
    // Each value bar is drawn over its reference bar, and the pair's name over both.
    for (int k = 0; k < kStatusBarCount; k += 2)
        Bar[std::size_t(k)]->raise();
    for (std::size_t k = 0; k < BarCaptions.size(); ++k) {
        BarCaptions[k] = new BarCaption(QString::fromLatin1(kBarNames[k]), this);
        BarCaptions[k]->setTextFormat(Qt::PlainText);
        BarCaptions[k]->setObjectName(QStringLiteral("BarCaption%1").arg(k));
        BarCaptions[k]->setAccessibleName(BarCaptions[k]->text());
        BarCaptions[k]->raise();
    }
    for (int r : {kHitPointsBar + 1, kMagicBar + 1}) {
        auto* timer = new QTimer(this);
        timer->setInterval(kFlashBarMs);
        connect(timer, &QTimer::timeout, this, [this, r] { FlashBar_Timer(r); });
        FlashBar[std::size_t(r)] = timer;
    }
    for (int k = 0; k < kStatusBarCount; ++k)
        NameBar(k);
}

std::uint32_t StatusPanel::NormalColour(int element, std::uint32_t fallback) const {
    // A colour text that is not one (a broken skin) leaves the built-in colour.
    return ParseColourValue(barColours[std::size_t(element)]).value_or(fallback);
}

void StatusPanel::NameBar(int bar) {
    StatusBar* b = Bar[std::size_t(bar)];
    const QString what = QString::fromLatin1(kBarNames[std::size_t(bar / 2)]);
    if (bar % 2 == 1) {
        b->setAccessibleName(what + QStringLiteral(" bar, full length"));
        return;
    }
    const int reference = Bar[std::size_t(bar + 1)]->width();
    const int percent = reference > 0 ? int(std::lround(100.0 * b->width() / reference)) : 0;
    b->setAccessibleName(what + QStringLiteral(" bar %1%").arg(percent));
}

void StatusPanel::Place(const GameLayout& layout, int w, int h) {
    std::array<PixelRect, kStatusValueCount> captions, data;
    std::array<PixelRect, 4> bars;
    QRect box;
    for (std::size_t k = 0; k < captions.size(); ++k) {
        captions[k] = gr::Place(layout.Captions[k], w, h);
        data[k] = gr::Place(layout.Data[k], w, h);
        box |= ToRect(captions[k]);
        box |= ToRect(data[k]);
    }
    for (std::size_t k = 0; k < bars.size(); ++k) {
        bars[k] = gr::Place(layout.Bar[k], w, h);
        box |= ToRect(bars[k]);
    }
    setGeometry(box);
    const QPoint origin = box.topLeft();
    for (std::size_t k = 0; k < captions.size(); ++k) {
        for (auto [label, r, points] : {std::tuple{Captions[k], captions[k], CaptionPoints[k]},
                                        std::tuple{Data[k], data[k], DataPoints[k]}}) {
            label->setGeometry(ToRect(r).translated(-origin));
            QFont f = label->font();
            if (points > 0)
                f.setPointSize(std::max(1, RescaledFontSize(points, kDesignWidth / w)));
            else
                f.setPixelSize(std::max(kMinTextPixels + 1, int(std::lround(r.Height * 0.72))));
            if (f != label->font()) label->setFont(f);
        }
    }
    for (std::size_t k = 0; k < bars.size(); ++k) {
        const QRect r = ToRect(bars[k]).translated(-origin);
        Bar[2 * k + 1]->setGeometry(r);
        // The value bar keeps its share of the reference's length at the new size.
        int width = QWIDGETSIZE_MAX;
        try {
            width = std::min(width, BarWidth(fractions[2 * k], r.width()));
        } catch (const RunTimeError&) {
        }
        Bar[2 * k]->setGeometry(r.left(), r.top(), width, r.height());
        NameBar(int(2 * k));
        BarCaptions[k]->setGeometry(r);
        QFont f = BarCaptions[k]->font();
        f.setPixelSize(std::max(kMinTextPixels, r.height() - 3));
        f.setBold(true);
        BarCaptions[k]->setFont(f);
    }
    // The panel's box may reach over a neighbour's controls (the bars stand beside the values): it takes
    // the mouse only where its own controls are, and clicks anywhere else go to what lies beneath.
    QRegion own;
    for (const QObject* child : children())
        if (const auto* widget = qobject_cast<const QWidget*>(child)) own += widget->geometry();
    setMask(own);
}

void StatusPanel::SetBarLength(int bar, double fraction) {
    StatusBar* b = Bar[std::size_t(bar)];
    const int width = BarWidth(fraction, Bar[std::size_t(bar + 1)]->width());
    fractions[std::size_t(bar)] = fraction;
    b->resize(std::min(width, QWIDGETSIZE_MAX), b->height());
    NameBar(bar);
}

void StatusPanel::SetData(int index, const std::string& wireText) {
    StatusLabel* d = Data[std::size_t(index)];
    const QString text = FromWire(BoundText(wireText, kMaxStatusBytes));
    if (text == d->text()) return;
    d->setText(text);
    // Read out as the player sees it: the caption, then the value's lines.
    const QString caption = Captions[std::size_t(index)]->text();
    const QString spoken = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    d->setAccessibleName(caption.isEmpty() ? spoken : caption + QLatin1Char(' ') + spoken);
    d->setToolTip(spoken);
    d->setVisible(!caption.isEmpty() || !text.isEmpty());
}

void StatusPanel::Receive(GameMessage kind, const std::string& message, const std::string& value) {
    switch (kind) {
    case GameMessage::LevelChange:
        SetData(kLevelValue, value);
        break;
    case GameMessage::MainArmorChange:
        SetData(kArmourValue, value);
        break;
    case GameMessage::GoldChange:
        SetData(kGoldValue, FormatThousands(value));
        break;
    case GameMessage::BankGoldChange:
        SetData(kBankValue, FormatThousands(value));
        break;
    case GameMessage::StChg: {
        const StatChange change = ParseStatChange(value);
        SetData(change.Index, change.Text);
        break;
    }
    case GameMessage::Stamina:
        Stamina(value);
        break;
    case GameMessage::HPChange:
        PointsChange(message.starts_with('H'), value);
        break;
    case GameMessage::XPChange:
        Xp = ParseExperience(value);
        ShowExperience();
        break;
    default:
        break;
    }
}

void StatusPanel::Stamina(const std::string& value) {
    SetData(kStaminaValue, value);
    SetBarLength(kStaminaBar, StaminaFraction(value));
}

void StatusPanel::PointsChange(bool hitPoints, const std::string& value) {
    const int b = hitPoints ? kHitPointsBar : kMagicBar;
    const int r = b + 1;
    SetData(hitPoints ? kHitPointsValue : kMagicValue, value);
    const PointsBar bar = PointsBarFor(value, hitPoints,
                                       hitPoints ? NormalColour(4, kDefaultHitPointsColour)
                                                 : NormalColour(6, kDefaultMagicColour));
    if (bar.Empty) {
        // Emptied, but the colour and any blinking stay as they are.
        SetBarLength(b, 0);
        return;
    }
    const int width = BarWidth(bar.Fraction, Bar[std::size_t(r)]->width()); // fails before anything changes
    (void)width;
    if (bar.Low) {
        if (BarFlashingOn && !FlashBar[std::size_t(r)]->isActive()) FlashBar[std::size_t(r)]->start();
    } else {
        FlashBar[std::size_t(r)]->stop();
        Bar[std::size_t(r)]->show();
    }
    Bar[std::size_t(b)]->SetColour(bar.Colour);
    SetBarLength(b, bar.Fraction);
}

void StatusPanel::ShowExperience() {
    SetData(kExperienceValue, ExperienceText(Xp, EnhancedXpOn));
    // The percentage of the enhanced text also stands on the experience bar.
    const QString text = Data[kExperienceValue]->text();
    const QString name = QString::fromLatin1(kBarNames[0]);
    BarCaptions[0]->setText(
        EnhancedXpOn ? name + QLatin1Char(' ') + text.section(QStringLiteral("\r\n"), 0, 0) : name);
    BarCaptions[0]->setAccessibleName(BarCaptions[0]->text());
    const ExperienceBar bar = ExperienceBarFor(Xp);
    SetBarLength(kExperienceBar, bar.Fraction);
    Bar[kExperienceBar]->SetColour(bar.Colour);
}

void StatusPanel::FlashBar_Timer(int index) {
    if (index < 0 || index >= kStatusBarCount) return;
    StatusBar* b = Bar[std::size_t(index)];
    b->setVisible(b->isHidden());
}

void StatusPanel::Bar_Flashing_Click() {
    const int hp = kHitPointsBar, mg = kMagicBar;
    if (!BarFlashingOn) {
        for (int r : {hp + 1, mg + 1}) {
            FlashBar[std::size_t(r)]->stop();
            Bar[std::size_t(r)]->show();
        }
        return;
    }
    if (BlinksWhenSwitchedOn(Bar[hp]->width(), Bar[hp + 1]->width(), false)) FlashBar[hp + 1]->start();
    if (BlinksWhenSwitchedOn(Bar[mg]->width(), Bar[mg + 1]->width(), true)) FlashBar[mg + 1]->start();
}

} // namespace gr
