#include "voice/VoiceChat.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "voice/VoiceAudio.h"

namespace gr {

namespace {
// Bytes read from the partner in one go, and bytes of our voice left unsent before frames are dropped
// rather than queued (a partner who does not read cannot grow our memory, nor the delay).
constexpr qint64 kReadChunk = 16 * 1024;
constexpr qint64 kMaxUnsent = 32 * 1024;
constexpr int kCaptureTickMs = 5;
} // namespace

VoiceChatSocket::VoiceChatSocket(QObject* parent)
    : QObject(parent), Server(new QTcpServer(this)), HeaderTimer(new QTimer(this)),
      CaptureTimer(new QTimer(this)) {
    HeaderTimer->setSingleShot(true);
    connect(HeaderTimer, &QTimer::timeout, this, [this] {
        End(QStringLiteral("Voicechat closed a connection that did not say who it was in time."));
    });
    CaptureTimer->setInterval(kCaptureTickMs);
    connect(CaptureTimer, &QTimer::timeout, this, &VoiceChatSocket::SendOwn);
    connect(Server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = Server->nextPendingConnection()) {
            // One session at a time, and only the partner this player asked for: anyone else is closed
            // without a byte read.
            if (Link || Expected.isEmpty()) {
                socket->abort();
                socket->deleteLater();
                continue;
            }
            Server->close();
            PartnerName = Expected;
            Adopt(socket, true);
        }
    });
}

VoiceChatSocket::~VoiceChatSocket() {
    if (Link) Link->disconnect(this);
    Sound.reset();
}

bool VoiceChatSocket::Listen(quint16 port) {
    Close();
    return Server->listen(QHostAddress::AnyIPv4, port);
}

void VoiceChatSocket::Close() {
    Server->close();
    if (Link) End(Open ? QStringLiteral("Voicechat with %1 has ended.").arg(PartnerName) : QString());
}

void VoiceChatSocket::End(const QString& line) {
    const bool wasOpen = Open;
    HeaderTimer->stop();
    CaptureTimer->stop();
    Sound.reset(); // the microphone closes and whatever was not played yet is gone
    if (Link) {
        Link->disconnect(this);
        Link->abort();
        Link->deleteLater();
        Link = nullptr;
    }
    Open = false;
    const bool talked = PartnerTalking;
    PartnerTalking = false;
    Parser = VoiceWireParser();
    if (!line.isEmpty()) emit notice(line);
    if (talked || wasOpen) emit talkingChanged(false, false);
    emit linkClosed();
}

void VoiceChatSocket::Connect(const QString& host, quint16 port, const QString& partner) {
    Close();
    PartnerName = partner;
    auto* socket = new QTcpSocket(this);
    Adopt(socket, false);
    connect(socket, &QTcpSocket::connected, this, [this] {
        Link->write(QByteArray::fromStdString(VoiceHeader(OwnName.toStdString())));
        HeaderTimer->start(HeaderTimeoutMs);
    });
    socket->connectToHost(host, port);
}

void VoiceChatSocket::Adopt(QTcpSocket* socket, bool incoming) {
    Link = socket;
    Parser = VoiceWireParser();
    socket->setReadBufferSize(kReadChunk);
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket, &QTcpSocket::readyRead, this, &VoiceChatSocket::Read);
    connect(socket, &QTcpSocket::disconnected, this, [this] {
        End(Open ? QStringLiteral("Voicechat with %1 has ended: the other side closed it.").arg(PartnerName)
                 : QStringLiteral("Voicechat could not start with %1: the other side closed it.")
                       .arg(PartnerName));
    });
    connect(socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (error == QAbstractSocket::RemoteHostClosedError) return; // disconnected says so
        End(Open ? QStringLiteral("Voicechat with %1 has ended: the connection dropped.").arg(PartnerName)
                 : QStringLiteral("Voicechat could not reach %1.").arg(PartnerName));
    });
    if (incoming) {
        socket->write(QByteArray::fromStdString(VoiceHeader(OwnName.toStdString())));
        HeaderTimer->start(HeaderTimeoutMs);
    }
}

void VoiceChatSocket::Read() {
    while (Link && Link->bytesAvailable() > 0) {
        const QByteArray bytes = Link->read(kReadChunk);
        std::vector<VoiceEvent> events;
        const bool ok = Parser.Feed(std::string_view(bytes.constData(), std::size_t(bytes.size())), events);
        for (const VoiceEvent& e : events) {
            if (!Link) return;
            switch (e.kind) {
            case VoiceEvent::Kind::Header:
                if (QString::fromStdString(e.data).compare(PartnerName, Qt::CaseInsensitive) != 0) {
                    End(QStringLiteral("Voicechat closed a connection that did not come from %1.")
                            .arg(PartnerName));
                    return;
                }
                HeaderTimer->stop();
                Open = true;
                Expected.clear(); // the request is answered: the next call needs a new one
                if (Output) {
                    Sound = std::make_unique<VoiceAudio>(Output());
                    Sound->SetVolume(Volume);
                    Sound->SetMuted(Mute);
                }
                emit notice(
                    QStringLiteral("Voicechat with %1 has started: hold Talk to talk.").arg(PartnerName));
                if (Sound && !Sound->Problem().isEmpty()) emit notice(Sound->Problem());
                emit linkOpened();
                break;
            case VoiceEvent::Kind::Packet:
                if (Sound) Sound->Play(e.data);
                if (!PartnerTalking) {
                    PartnerTalking = true;
                    emit talkingChanged(Talking(), true);
                }
                break;
            case VoiceEvent::Kind::TalkEnd:
                if (PartnerTalking) {
                    PartnerTalking = false;
                    emit talkingChanged(Talking(), false);
                }
                break;
            }
        }
        if (!ok) {
            const QString why = QString::fromStdString(Parser.Error());
            End(Open ? QStringLiteral("Voicechat with %1 has ended: %2.").arg(PartnerName, why)
                     : QStringLiteral("Voicechat closed a connection that did not come from %1 (%2).")
                           .arg(PartnerName, why));
            return;
        }
    }
}

void VoiceChatSocket::SetVolume(int percent) {
    Volume = percent;
    if (Sound) Sound->SetVolume(percent);
}

void VoiceChatSocket::SetMuted(bool muted) {
    Mute = muted;
    if (Sound) Sound->SetMuted(muted);
}

bool VoiceChatSocket::Talking() const {
    return Sound && Sound->Capturing();
}

void VoiceChatSocket::Talk(bool on) {
    if (!Open || !Sound || on == Talking()) return;
    if (on) {
        if (!Sound->StartCapture()) {
            emit notice(Sound->Problem());
            return;
        }
        CaptureTimer->start();
    } else {
        SendOwn(); // what was said up to the release still goes
        CaptureTimer->stop();
        Sound->StopCapture();
        Link->write(QByteArray::fromStdString(VoiceTalkEndFrame()));
    }
    emit talkingChanged(on, PartnerTalking);
}

void VoiceChatSocket::SendOwn() {
    if (!Link || !Sound) return;
    for (const std::string& packet : Sound->TakePackets())
        if (Link->bytesToWrite() < kMaxUnsent)
            Link->write(QByteArray::fromStdString(VoicePacketFrame(packet)));
}

bool VoiceChatSocket::IsListening() const {
    return Server->isListening();
}

bool VoiceChatSocket::IsClosed() const {
    return !Server->isListening() && !Link;
}

} // namespace gr
