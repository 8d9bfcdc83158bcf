#pragma once
// The local server with accounts and the demo world: a character that enters the game walks the World's
// rooms, talks, pages and is asked "KBA" every so often. The world decides what to send; this class sends
// it, compressed, and runs the keep-alive timer.
#include <QTimer>

#include "devserver/AccountServer.h"
#include "devserver/World.h"

namespace gr::dev {

// Milliseconds between two "KBA" requests to every player.
constexpr int kDefaultKeepAliveMs = 45000;

class GameServer : public AccountServer {
  public:
    explicit GameServer(QString accountsFile, QObject* parent = nullptr);

    // Milliseconds between "KBA" requests; 0 (or less) sends none.
    void setKeepAliveInterval(int ms);
    int keepAliveInterval() const { return KeepAlive.isActive() ? KeepAlive.interval() : 0; }
    const World& world() const { return Game; }

  protected:
    void onCharacterEntered(int sessionId, const CharacterRecord& character) override;
    void onGameMessage(int sessionId, const std::string& message) override;
    void onSessionClosed(int sessionId) override;

  private:
    void deliver(const Deliveries& deliveries);

    World Game;
    QTimer KeepAlive;
};

} // namespace gr::dev
