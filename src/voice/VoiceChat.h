#pragma once
// The voice chat's own connection between two players (the deployment's voice port): it listens for a
// partner's call while this player's request to a named player stands, or calls the partner who asked.
// Each side first sends the stream's header naming itself (game/VoiceWire.h); a link opens once the
// other side's header names the expected partner, and then carries push-to-talk voice both ways.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "voice/VoiceWire.h"

class QTcpServer;
class QTcpSocket;
class QTimer;

namespace gr {

class Media;
class VoiceAudio;

class VoiceChatSocket : public QObject {
    Q_OBJECT
  public:
    explicit VoiceChatSocket(QObject* parent = nullptr);
    ~VoiceChatSocket() override;

    // Closes whatever is open and listens on the port; false when the port cannot be taken. A call is
    // taken only while Expect has named a partner.
    bool Listen(quint16 port);
    // Ends the session or the call, and stops listening.
    void Close();
    // Calls the partner at the address the server announced; the link opens once their header names them.
    void Connect(const QString& host, quint16 port, const QString& partner);
    bool IsListening() const;
    bool IsClosed() const;
    bool IsOpen() const { return Open; }

    // This player's name, sent in the header.
    void SetOwnName(const QString& name) { OwnName = name; }
    // The player this player asked for a session: the one call taken while listening. Empty: none is taken.
    void Expect(const QString& partner) { Expected = partner; }
    QString Partner() const { return PartnerName; }
    // Where the partner is heard: the game's output device (asked for when a link opens).
    void SetOutput(std::function<Media&()> output) { Output = std::move(output); }
    void SetVolume(int percent);
    void SetMuted(bool muted);
    // Push-to-talk: the microphone runs while on.
    void Talk(bool on);
    bool Talking() const;
    VoiceAudio* Audio() const { return Sound.get(); }
    // How long a caller has to send its header once connected.
    int HeaderTimeoutMs = 5000;

  signals:
    void linkOpened();
    void linkClosed();
    // A line for the text window about the session's life.
    void notice(const QString& line);
    // Who is talking changed: this player, the partner, both or none.
    void talkingChanged(bool self, bool partner);

  private:
    void Adopt(QTcpSocket* socket, bool incoming);
    void Read();
    void SendOwn();
    void End(const QString& line);

    QTcpServer* Server = nullptr;
    QTcpSocket* Link = nullptr;
    QTimer* HeaderTimer = nullptr;
    QTimer* CaptureTimer = nullptr;
    VoiceWireParser Parser;
    std::unique_ptr<VoiceAudio> Sound;
    std::function<Media&()> Output;
    QString OwnName;
    QString Expected;
    QString PartnerName;
    bool Open = false;
    bool PartnerTalking = false;
    int Volume = 100;
    bool Mute = false;
};

} // namespace gr
