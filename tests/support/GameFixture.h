#pragma once
// A game window on a login window that is connected to a scripted peer: the key has arrived and the
// server has let a character enter.
#include <QLineEdit>

#include "game/Game.h"
#include "text/TextWindow.h"
#include "support/LodgeFixture.h"
#include "support/Peer.h"

namespace gr::test {

class GameFixture : public LodgeFixture {
protected:
    static constexpr const char* kKey = "gameKey7";

    // Logged in and entered as Aldric; settings given here are in place before the game window loads.
    Game& Entered() {
        Lodge& w = LoggedIn(peer, kKey);
        BeforeGame();
        app->Session.CharacterName = Character;
        app->Wire.InQueue.Put("CritInfoAldric^%^3^%^Elf^%^Mage^%^Male^%^Never");
        w.Worker_Timer();
        EXPECT_NE(nullptr, app->game);
        return *app->game;
    }
    // Runs once the application exists, before the game window is made and loads.
    virtual void BeforeGame() {}
    // Queues the messages in order and runs one tick of the game's dispatcher.
    void Tick(const std::vector<std::string>& messages) {
        for (const auto& m : messages) app->Wire.InQueue.Put(m);
        app->game->Worker_Timer();
    }
    // Types a line into the input box and sends it as Enter would.
    void Type(const QString& line) {
        app->game->TI->setText(line);
        app->game->SendTI_Click();
    }
    std::vector<std::string> Sent(std::size_t count = 1) { return peer.WaitMessages(kKey, count); }
    QString Text() const { return app->game->TD->toPlainText(); }

    Peer peer;
    std::string Character = "Aldric"; // the character entered
};

} // namespace gr::test
