#include "panels/CommandsPanel.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPushButton>
#include <QScrollBar>

#include "core/WireText.h"

namespace gr {

CommandsPanel::CommandsPanel(PanelContext& context_, QWidget* parent) : QObject(parent), context(context_) {
    for (std::size_t i = 0; i < kCommandButtons; ++i) {
        Com[i] = new QPushButton(parent);
        Com[i]->setFocusPolicy(Qt::NoFocus);
        Com[i]->setStyleSheet(QStringLiteral(
            "QPushButton { background: #3a2d5c; color: #f3e9d2; border: 1px solid #8c7aa8; border-radius: "
            "4px; }"
            "QPushButton:hover { background: #4a3a73; } QPushButton:pressed { background: #2a2045; }"));
        Com[i]->hide();
        CaptionFont[i] = Com[i]->font();
        connect(Com[i], &QPushButton::clicked, this, [this, i] { Com_Click(i); });
    }
    ComVScroll = new QScrollBar(Qt::Vertical, parent);
    ComVScroll->setAccessibleName(QStringLiteral("Commands scroll"));
    ComVScroll->setFocusPolicy(Qt::NoFocus);
    ComVScroll->setPageStep(int(kCommandButtons));
    ComVScroll->hide();
    connect(ComVScroll, &QScrollBar::valueChanged, this, &CommandsPanel::ComVScroll_Change);
}

void CommandsPanel::MainCommands(std::string_view value) {
    const QSignalBlocker quiet(ComVScroll);
    ComVScroll->setValue(0);
    CommandList.clear();
    CommandList = ParseCommandList(value);
    const int last = int(CommandList.size()) - 1;
    // The last field is the list's closing empty one: scrolling goes as far as the last caption.
    ComVScroll->setMaximum(std::max(0, last - int(kCommandButtons)));
    ComVScroll->setVisible(last >= int(kCommandButtons));
    ComVScroll_Change(0);
}

void CommandsPanel::ComVScroll_Change(int value) {
    for (std::size_t i = 0; i < kCommandButtons; ++i) {
        const std::size_t k = std::size_t(value) + i;
        Captions[i] = k < CommandList.size() ? CommandList[k] : std::string();
        Com[i]->setAccessibleName(PanelText(SingleAmpersands(Captions[i])));
        Com[i]->setVisible(!Captions[i].empty());
        FitCaption(i);
    }
    context.Refocus();
}

void CommandsPanel::SetCaptionFont(std::size_t n, const QFont& font) {
    CaptionFont[n] = font;
    FitCaption(n);
}

void CommandsPanel::FitCaption(std::size_t n) {
    constexpr int kMinPixels = 9;
    constexpr int kPadding = 8;                  // the border and a little air on either side
    const QString text = PanelText(Captions[n]); // "&&" shows as "&" on a button
    const int room = Com[n]->width() - kPadding;
    QFont font = CaptionFont[n];
    // Pixel sizes step evenly, whatever unit the font was given in.
    for (int pixels = QFontInfo(font).pixelSize();
         pixels > kMinPixels && QFontMetrics(font).horizontalAdvance(text) > room;)
        font.setPixelSize(--pixels);
    Com[n]->setFont(font);
    // Still too wide at the smallest readable size: cut at the end, so the caption's start reads, and
    // the whole caption shows as the button's tip.
    const bool cut = QFontMetrics(font).horizontalAdvance(text) > room;
    Com[n]->setText(cut ? QFontMetrics(font).elidedText(text, Qt::ElideRight, std::max(room, 0)) : text);
    Com[n]->setToolTip(cut ? PanelText(SingleAmpersands(Captions[n])) : QString());
}

void CommandsPanel::Com_Click(std::size_t n) {
    const CommandClick click = CommandButtonClick(Captions[n]);
    switch (click.What) {
    case CommandClick::LookAround:
    case CommandClick::Send:
        context.Send(click.Text);
        break;
    case CommandClick::GoldDialog:
        if (OpenGoldDialog) OpenGoldDialog(FromWire(click.Text));
        return; // the dialog takes the keyboard for the amount
    }
    context.Refocus();
}

void CommandsPanel::Place(const GameLayout& layout, int width, int height) {
    for (std::size_t i = 0; i < kCommandButtons; ++i) {
        PlaceWidget(Com[i], layout.Com[i], width, height);
        FitCaption(i);
    }
    PlaceWidget(ComVScroll, layout.ComVScroll, width, height);
}

} // namespace gr
