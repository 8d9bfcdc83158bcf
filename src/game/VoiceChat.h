#pragma once
// The voice chat's own connection between two players (TCP port 111): it listens for a partner's call,
// or calls a partner. The talk itself runs over the open link.
#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;

namespace gr {

class VoiceChatSocket : public QObject {
    Q_OBJECT
public:
    explicit VoiceChatSocket(QObject* parent = nullptr);

    // Closes whatever is open and listens on the port; false when the port cannot be taken.
    bool Listen(quint16 port);
    void Close();
    void Connect(const QString& host, quint16 port);
    bool IsListening() const;
    bool IsClosed() const;

signals:
    void linkOpened();
    void linkClosed();

private:
    void Adopt(QTcpSocket* socket);

    QTcpServer* Server = nullptr;
    QTcpSocket* Link = nullptr;
};

} // namespace gr
