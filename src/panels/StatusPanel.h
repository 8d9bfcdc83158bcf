#pragma once
// The game window's status panel: the captioned values (strength to the free value) and the four bar pairs
// (experience, stamina, hit points, magic), kept current by the server's status messages. A hit point or
// magic bar under a fifth turns red and, with blinking on, its reference bar blinks through FlashBar.
#include <QLabel>
#include <QWidget>
#include <array>
#include <cstdint>
#include <string>

#include "game/GameMessages.h"
#include "panels/StatusRules.h"
#include "skin/Layout.h"

class QTimer;

namespace gr {

// A value or caption label: the text as the server sent it; shown on one line when its place holds only
// one, with a smaller font down to a readable size when it is wide, and elided beyond that (the whole text
// is in its tooltip and accessible name).
class StatusLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;
    QString ShownText() const; // the lines as drawn, before any eliding

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// One bar of a pair: the value bar filled in its colour, the reference bar an outlined trough.
class StatusBar : public QWidget {
    Q_OBJECT
  public:
    StatusBar(bool reference, QWidget* parent);
    std::uint32_t Colour() const { return colour; } // 0xBBGGRR
    void SetColour(std::uint32_t bgr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool reference;
    std::uint32_t colour = 0;
};

// The name of a bar pair, written over it in light text with a dark edge so that it reads on the bar's
// colour and on the trough alike.
class BarCaption : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

class StatusPanel : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kFlashBarMs = 200;

    // barColours: the game's normal bar colours (elements 4 and 6 for hit points and magic), as the skin or
    // the start-up sets them.
    StatusPanel(const std::array<std::string, 7>& barColours, QWidget* parent);

    // A status message (the keyword's kind, the whole message and its value). A bad field throws
    // RunTimeError; what was written before it stays written.
    void Receive(GameMessage kind, const std::string& message, const std::string& value);

    void ShowExperience();
    void FlashBar_Timer(int index);
    // The menu's blinking switch, after its check mark changed.
    void Bar_Flashing_Click();
    // The menu's enhanced experience switch, after its check mark changed.
    void Enhanced_XP_Click() { ShowExperience(); }

    // Places the controls from the layout for a window of the given size.
    void Place(const GameLayout& layout, int windowWidth, int windowHeight);

    std::array<StatusLabel*, kStatusValueCount> Captions{};
    std::array<StatusLabel*, kStatusValueCount> Data{};
    std::array<StatusBar*, kStatusBarCount> Bar{};
    std::array<QTimer*, kStatusBarCount> FlashBar{}; // only 5 and 7, the hit point and magic reference bars
    std::array<BarCaption*, 4> BarCaptions{};        // over each pair: which bar it is
    // A skin's point sizes for the labels at the design width, scaled with the window's width; 0 sizes
    // the label's text by its height.
    std::array<double, kStatusValueCount> CaptionPoints{}, DataPoints{};

    // The menu's check marks, kept here as the menu changes them.
    bool BarFlashingOn = true;
    bool EnhancedXpOn = true;

    Experience Xp; // the last experience message

  private:
    void SetData(int index, const std::string& wireText);
    void Stamina(const std::string& value);
    void PointsChange(bool hitPoints, const std::string& value);
    // Sets a value bar to a fraction of its reference bar's width.
    void SetBarLength(int bar, double fraction);
    std::uint32_t NormalColour(int element, std::uint32_t fallback) const;
    void NameBar(int bar);

    const std::array<std::string, 7>& barColours;
    std::array<double, kStatusBarCount> fractions{}; // of the value bars, kept for a new window size
};

} // namespace gr
