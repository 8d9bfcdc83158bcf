#include "panels/SpellsPanel.h"

#include <QLabel>
#include <QPainter>
#include <QScrollBar>

#include "panels/HighlightFrame.h"

namespace gr {

namespace {
// The spell button's picture: a small glowing rune.
QPixmap SpellIcon() {
    QPixmap icon(40, 40);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(20, 20, 18);
    glow.setColorAt(0, QColor(0xbf, 0xa8, 0xff));
    glow.setColorAt(1, QColor(0x4a, 0x3a, 0x73));
    p.setBrush(glow);
    p.setPen(QPen(QColor(0xf3, 0xd9, 0xa4), 2));
    p.drawEllipse(3, 3, 34, 34);
    return icon;
}

QLabel* Marker(const QString& text, const QString& name, const char* colour, QWidget* parent) {
    auto* marker = new QLabel(text, parent);
    marker->setAlignment(Qt::AlignCenter);
    marker->setAccessibleName(name);
    marker->setStyleSheet(QStringLiteral("QLabel { background: %1; color: #10081c; font-weight: bold;"
                                         " border-radius: 3px; }")
                              .arg(QLatin1String(colour)));
    marker->setAttribute(Qt::WA_TransparentForMouseEvents);
    marker->hide();
    return marker;
}
} // namespace

SpellsPanel::SpellsPanel(PanelContext& context_, QWidget* parent) : QObject(parent), context(context_) {
    const QPixmap icon = SpellIcon();
    for (std::size_t i = 0; i < kSpellSlots; ++i) {
        SpellButton[i] = new PanelSlot(parent);
        SpellButton[i]->setPixmap(icon);
        SpellNameN[i] = new PanelSlot(parent);
        SpellNameN[i]->setScaledContents(false);
        SpellNameN[i]->setStyleSheet(QStringLiteral("color: #e8e0f0;"));
        SpellButtonR[i] = Marker(QStringLiteral("L"), QStringLiteral("Left button spell"), "#f3d9a4", parent);
        SpellButtonB[i] =
            Marker(QStringLiteral("R"), QStringLiteral("Right button spell"), "#9fd3ff", parent);
        SpellFrameR[i] = new HighlightFrame(QColor(0xf3, 0xd9, 0xa4), parent);
        SpellFrameB[i] = new HighlightFrame(QColor(0x9f, 0xd3, 0xff), parent);
        for (PanelSlot* slot : {SpellButton[i], SpellNameN[i]}) {
            slot->hide();
            connect(slot, &PanelSlot::pressed, this,
                    [this, i](bool left) { SpellButton_MouseDown(i, left); });
        }
    }
    SpellVScroll = new QScrollBar(Qt::Vertical, parent);
    SpellVScroll->setAccessibleName(QStringLiteral("Spells scroll"));
    SpellVScroll->setFocusPolicy(Qt::NoFocus);
    SpellVScroll->setPageStep(int(kSpellSlots));
    SpellVScroll->setMaximum(0);
    SpellVScroll->setEnabled(false);
    connect(SpellVScroll, &QScrollBar::valueChanged, this, &SpellsPanel::SpellVScroll_Change);
}

void SpellsPanel::SL(std::string_view value) {
    SpellList = ParseSpellList(value);
    const int last = int(SpellList.size()) - 1;
    const QSignalBlocker quiet(SpellVScroll);
    if (last > int(kSpellSlots) - 1) {
        SpellVScroll->setEnabled(true);
        SpellVScroll->setMaximum(last - 6);
        if (!ScrollRestored) {
            SpellVScroll->setValue(SavedScroll ? SavedScroll() : 0);
            ScrollRestored = true;
        }
    } else {
        // A short list shows from its start: a scroll position left from a longer list would hide it.
        SpellVScroll->setMaximum(0);
        SpellVScroll->setEnabled(false);
    }
    SpellVScroll_Change(SpellVScroll->value());
}

void SpellsPanel::SpellVScroll_Change(int value) {
    for (std::size_t i = 0; i < kSpellSlots; ++i) {
        const std::size_t k = std::size_t(value) + i;
        Names[i] = k < SpellList.size() ? SpellList[k] : std::string();
        const QString shown = PanelText(Names[i]);
        SpellNameN[i]->setText(shown);
        SpellNameN[i]->setAccessibleName(shown);
        SpellButton[i]->setAccessibleName(shown);
        SpellButton[i]->setToolTip(shown);
        SpellNameN[i]->setVisible(!Names[i].empty());
        SpellButton[i]->setVisible(!Names[i].empty());
    }
    ShowMarkers();
    context.Refocus();
}

void SpellsPanel::ShowMarkers() {
    const Bindings& b = context.MouseBindings;
    for (std::size_t i = 0; i < kSpellSlots; ++i) {
        const bool shown = !Names[i].empty();
        const bool left = shown && Names[i] == b.SelectedSpellR;
        const bool right = shown && Names[i] == b.SelectedSpellB;
        SpellButtonR[i]->setVisible(left);
        SpellButtonB[i]->setVisible(right);
        // A skin's frames show with the markers; the built-in look has the markers only.
        SpellFrameR[i]->setVisible(left && SpellFrameR[i]->Skinned());
        SpellFrameB[i]->setVisible(right && SpellFrameB[i]->Skinned());
    }
}

void SpellsPanel::SpellButton_MouseDown(std::size_t n, bool left) {
    if (!Names[n].empty()) {
        context.MouseBindings.BindSpell(left, Names[n]);
        context.BindingsChanged();
    }
    context.Refocus();
}

void SpellsPanel::Place(const GameLayout& layout, int width, int height) {
    for (std::size_t i = 0; i < kSpellSlots; ++i) {
        PlaceWidget(SpellButton[i], layout.SpellButton[i], width, height);
        PlaceWidget(SpellNameN[i], layout.SpellNameN[i], width, height);
        // The markers sit at the right end of the spell's name, left button's first.
        const PixelRect r = gr::Place(layout.SpellNameN[i], width, height);
        const int side = std::max(8, r.Height - 4);
        SpellButtonR[i]->setGeometry(r.Left + r.Width - 2 * side - 4, r.Top + 2, side, side);
        SpellButtonB[i]->setGeometry(r.Left + r.Width - side - 2, r.Top + 2, side, side);
        SpellButtonR[i]->raise();
        SpellButtonB[i]->raise();
        SpellFrameR[i]->PlaceFor(SpellButton[i], width, height, 3);
        SpellFrameB[i]->PlaceFor(SpellButton[i], width, height, 1);
    }
    PlaceWidget(SpellVScroll, layout.SpellVScroll, width, height);
}

void SpellsPanel::SetSkinFrames(const std::array<SkinFrame, kSpellSlots>& left,
                                const std::array<SkinFrame, kSpellSlots>& right) {
    for (std::size_t i = 0; i < kSpellSlots; ++i) {
        SpellFrameR[i]->SetSkin(left[i]);
        SpellFrameB[i]->SetSkin(right[i]);
    }
    ShowMarkers();
}

} // namespace gr
