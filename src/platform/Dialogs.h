#pragma once
// Modal message boxes with the application's title. The real boxes run a nested event loop, so socket
// events and timers keep running while one is open, as the game expects.
#include <QString>

namespace gr {

class Dialogs {
  public:
    // A box's text is cut after this many characters or lines, with a visible mark: server text reaches
    // message boxes, and a box of megabytes would take minutes to lay out.
    static constexpr int kMaxChars = 4000;
    static constexpr int kMaxLines = 40;
    static const QString CutMark;

    virtual ~Dialogs() = default;
    // A message with an OK button.
    void Message(const QString& text) { ShowMessage(Bounded(text)); }
    // A question with Yes and No buttons; true for Yes.
    bool Ask(const QString& text) { return ShowQuestion(Bounded(text)); }
    // A message with an OK button and the exclamation icon: a caution before the player goes on.
    void Warning(const QString& text) { ShowWarning(Bounded(text)); }

    // The text as a box shows it: whole, or cut at the bounds with CutMark (the mark of every cut text).
    static QString Bounded(const QString& text);

  protected:
    virtual void ShowMessage(const QString& text) = 0;
    virtual bool ShowQuestion(const QString& text) = 0;
    virtual void ShowWarning(const QString& text) { ShowMessage(text); }
};

class MessageBoxDialogs final : public Dialogs {
  protected:
    void ShowMessage(const QString& text) override;
    bool ShowQuestion(const QString& text) override;
    void ShowWarning(const QString& text) override;
};

} // namespace gr
