#pragma once
// The game window: where the character plays. Shown when the server lets a character enter; its own
// dispatcher takes over the receive queue from the login window's.
#include <QMainWindow>

namespace gr {

class App;

class Game : public QMainWindow {
    Q_OBJECT
public:
    // The design size of the window, in twips (15 to a pixel).
    static constexpr int kDesignWidthTwips = 11910;
    static constexpr int kDesignHeightTwips = 8970;

    explicit Game(App& app);
    ~Game() override;

    // The in-game dispatcher; disabled until play starts.
    bool WorkerEnabled = false;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    App& app;
};

} // namespace gr
