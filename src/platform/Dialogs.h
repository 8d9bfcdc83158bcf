#pragma once
// Modal message boxes with the application's title. The real boxes run a nested event loop, so socket
// events and timers keep running while one is open, as the game expects.
#include <QString>

namespace gr {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A message with an OK button.
    virtual void Message(const QString& text) = 0;
    // A question with Yes and No buttons; true for Yes.
    virtual bool Ask(const QString& text) = 0;
};

class MessageBoxDialogs final : public Dialogs {
public:
    void Message(const QString& text) override;
    bool Ask(const QString& text) override;
};

} // namespace gr
