#include "devserver/GameServer.h"

namespace gr::dev {

GameServer::GameServer(QString accountsFile, QObject* parent)
    : AccountServer(std::move(accountsFile), parent) {
    connect(&KeepAlive, &QTimer::timeout, this, [this] { deliver(Game.KeepAlive()); });
    setKeepAliveInterval(kDefaultKeepAliveMs);
}

void GameServer::setKeepAliveInterval(int ms) {
    if (ms <= 0) {
        KeepAlive.stop();
        return;
    }
    KeepAlive.start(ms);
}

void GameServer::onCharacterEntered(int sessionId, const CharacterRecord& character) {
    deliver(Game.Enter(sessionId, character.Name, sessionAddress(sessionId)));
}

void GameServer::onGameMessage(int sessionId, const std::string& message) {
    deliver(Game.Handle(sessionId, message));
}

void GameServer::onSessionClosed(int sessionId) {
    AccountServer::onSessionClosed(sessionId);
    deliver(Game.Leave(sessionId));
}

void GameServer::deliver(const Deliveries& deliveries) {
    // A session may close while this runs (a client that does not read); its messages are then dropped and
    // its departure, delivered from onSessionClosed, reaches the others.
    for (const Delivery& delivery : deliveries)
        send(delivery.Session, delivery.Messages, true);
}

} // namespace gr::dev
