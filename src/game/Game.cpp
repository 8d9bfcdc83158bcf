#include "game/Game.h"

#include <QCloseEvent>

#include "core/App.h"
#include "login/Lodge.h"
#include "platform/Ending.h"

namespace gr {

Game::Game(App& app_) : app(app_) {
    app.game = this;
    resize(kDesignWidthTwips / 15, kDesignHeightTwips / 15);
    setStyleSheet(QStringLiteral("QMainWindow { background: #120d1f; }"));
}

Game::~Game() {
    if (app.game == this) app.game = nullptr;
}

void Game::closeEvent(QCloseEvent* event) {
    // Leaving the game window leaves the game.
    event->accept();
    if (app.lodge) app.lodge->CloseComline();
    app.platform.ending.End();
}

} // namespace gr
