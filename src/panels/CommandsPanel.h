#pragma once
// The main command buttons: six at a time over the server's list of commands, with a scroll bar when the
// list is longer.
#include <QFont>
#include <QObject>
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "panels/PanelSlot.h"

class QPushButton;
class QScrollBar;

namespace gr {

class CommandsPanel : public QObject {
    Q_OBJECT
  public:
    CommandsPanel(PanelContext& context, QWidget* parent);

    void MainCommands(std::string_view value);
    void ComVScroll_Change(int value);
    void Com_Click(std::size_t n);
    void Place(const GameLayout& layout, int width, int height);

    // A caption ending in "Gold" asks for an amount; this opens the gold dialog for that caption.
    std::function<void(const QString& caption)> OpenGoldDialog;

    std::array<QPushButton*, kCommandButtons> Com{};
    QScrollBar* ComVScroll = nullptr;
    std::vector<std::string> CommandList; // the captions, "&" doubled
    std::array<std::string, kCommandButtons> Captions;

    // The font a button's caption starts from (a skin's, or the built-in one); a caption wider than its
    // button is drawn smaller, down to a readable size, so it is never cut.
    void SetCaptionFont(std::size_t n, const QFont& font);
    const QFont& CaptionFontOf(std::size_t n) const { return CaptionFont[n]; }

  private:
    void FitCaption(std::size_t n);
    PanelContext& context;
    std::array<QFont, kCommandButtons> CaptionFont;
};

} // namespace gr
