// A web host that sends an endless body as fast as loopback takes it, from a thread of its own so that the
// client's event loop never slows it down: each download costs at most its bound in memory, not whatever
// the host manages to send before the bound is checked.
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "downloads/Downloads.h"
#include "support/WebHost.h"

namespace gr {
namespace {

class FloodHost {
  public:
    FloodHost() {
        Listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        EXPECT_EQ(0, bind(Listener, reinterpret_cast<sockaddr*>(&address), length));
        EXPECT_EQ(0, listen(Listener, 8));
        EXPECT_EQ(0, getsockname(Listener, reinterpret_cast<sockaddr*>(&address), &length));
        Port = ntohs(address.sin_port);
        Thread = std::thread([this] { Serve(); });
    }
    ~FloodHost() {
        Stop = true;
        Thread.join();
        close(Listener);
    }
    QString Address() const { return QStringLiteral("127.0.0.1:%1").arg(Port); }
    std::atomic<long long> Sent = 0;

  private:
    void Serve() {
        const std::string piece(64 * 1024, 'e');
        while (!Stop) {
            pollfd wait{Listener, POLLIN, 0};
            if (poll(&wait, 1, 50) <= 0) continue;
            const int peer = accept(Listener, nullptr, nullptr);
            if (peer < 0) continue;
            char head[4096];
            (void)!recv(peer, head, sizeof head, 0); // the request; its path does not matter
            const std::string answer = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n\r\n";
            bool open = send(peer, answer.data(), answer.size(), MSG_NOSIGNAL) > 0;
            while (open && !Stop) {
                pollfd out{peer, POLLOUT, 0};
                if (poll(&out, 1, 50) <= 0) continue;
                const ssize_t n = send(peer, piece.data(), piece.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
                if (n > 0) Sent += n;
                open = n > 0 || errno == EAGAIN;
            }
            close(peer);
        }
    }
    int Listener = -1;
    int Port = 0;
    std::atomic<bool> Stop = false;
    std::thread Thread;
};

// Resident memory now and at its peak since the peak was last reset, in bytes.
long long StatusBytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}
void ResetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
}

TEST(DownloadsFlood, AnEndlessBodyCostsAtMostItsBound) {
    FloodHost host;
    QTemporaryDir folder;
    Downloads service(host.Address(), folder.path());
    struct Case {
        DownloadKind kind;
        const char* path;
        const char* file;
        qint64 bound;
    };
    const Case cases[] = {
        {DownloadKind::Sound, "/grsounds/endless.wav", "sounds/endless.wav", 8 << 20},
        {DownloadKind::Music, "/grmusic/endless.mid", "music/endless.mid", 1 << 20},
        {DownloadKind::Picture, "/grpics/1149.jpg", "gfx/1149.jpg", 1 << 20},
    };
    for (const Case& c : cases) {
        ResetPeak();
        const long long before = StatusBytes("VmRSS:");
        const long long sentBefore = host.Sent;
        DownloadRequest request;
        request.Kind = c.kind;
        request.Path = QString::fromLatin1(c.path);
        request.File = QString::fromLatin1(c.file);
        request.MaxBytes = c.bound;
        std::optional<bool> saved;
        ASSERT_TRUE(service.Fetch(request, nullptr, [&](const DownloadResult& r) { saved = r.Saved; }));
        ASSERT_TRUE(test::WaitFor([&] { return saved.has_value(); }, 30000)) << c.path;
        EXPECT_FALSE(*saved) << c.path;
        const long long grown = StatusBytes("VmHWM:") - before;
        std::cout << c.path << ": bound " << (c.bound >> 10) << " KiB, peak grew by " << (grown >> 10)
                  << " KiB, host sent " << ((host.Sent - sentBefore) >> 10) << " KiB\n";
        // The body itself, the reply's bounded buffer and what the sanitizer keeps of freed blocks.
        EXPECT_LT(grown, 6 * c.bound + (32 << 20)) << c.path;
        EXPECT_FALSE(QFile::exists(folder.filePath(QString::fromLatin1(c.file)))) << c.path;
    }
}

} // namespace
} // namespace gr
