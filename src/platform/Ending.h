#pragma once
// Ending the application. Once ended, nothing further is handled: callers return at once, and the
// dispatchers and socket handlers check Ended() before doing any work.
#include <functional>

namespace gr {

class Ending {
public:
    virtual ~Ending() = default;
    void End() {
        if (HasEnded) return;
        HasEnded = true;
        Finish();
    }
    bool Ended() const { return HasEnded; }

protected:
    virtual void Finish() = 0;

private:
    bool HasEnded = false;
};

// Flushes the settings (through the given hook), closes every window and leaves every running event loop.
class QuitEnding final : public Ending {
public:
    explicit QuitEnding(std::function<void()> beforeQuit) : BeforeQuit(std::move(beforeQuit)) {}

protected:
    void Finish() override;

private:
    std::function<void()> BeforeQuit;
};

} // namespace gr
