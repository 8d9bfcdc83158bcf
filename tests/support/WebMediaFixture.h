#pragma once
// A game fixture whose deployment names a web host on a real socket, with the media commands recorded
// instead of played: for what is fetched, kept and played.
#include <memory>

#include "downloads/Downloads.h"
#include "support/Fakes.h"
#include "support/GameFixture.h"
#include "support/WebHost.h"

namespace gr::test {

// A short effect and a short piece of music, each of its own content.
inline QByteArray Wave(char fill) {
    QByteArray bytes(
        "RIFF\x2c\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xac\0\0\x02\0\x10\0data\x08\0\0\0", 44);
    return bytes + QByteArray(8, fill);
}
inline QByteArray Midi(char note) {
    return QByteArray("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk\0\0\0\x0c\0\x90", 24) + note +
           QByteArray("\x40\x60\x80", 3) + note + QByteArray("\0\0\xff\x2f\0", 5);
}

class WebMediaFixture : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        WriteDeployment(QStringLiteral("[Hosts]\nPrimary=127.0.0.1\nWeb=%1\n").arg(web.Address()));
    }
    void BeforeGame() override {
        auto fake = std::make_unique<FakeMedia>(Home.path());
        media = fake.get();
        app->AudioDevice = std::move(fake);
    }
    // No download running or waiting.
    bool Settled() { return app->Downloader().Running() == 0 && app->Downloader().Queued() == 0; }

    WebHost web;
    FakeMedia* media = nullptr;
};

} // namespace gr::test
