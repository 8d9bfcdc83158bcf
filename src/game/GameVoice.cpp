// The game window's side of the voice chat: the session's lines and the input box, push-to-talk through
// CmdTalk or the chosen key, the partner's mute and volume, and the sign of who is talking.
#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/App.h"
#include "core/WireText.h"
#include "game/Game.h"
#include "sound/SoundAndMusic.h"
#include "voice/VoiceChat.h"

namespace gr {

namespace {
constexpr int kDefaultTalkKey = Qt::Key_Insert;
const QString kTalkKeySetting = QStringLiteral("Voice_Talk_Key");

QString KeyName(int key) {
    return QKeySequence(key).toString(QKeySequence::NativeText);
}
} // namespace

void Game::BuildVoice(QMenu* options) {
    Voice_Mute = options->addAction(QStringLiteral("Mute Voice Chat Partner"));
    Voice_Mute->setCheckable(true);
    connect(Voice_Mute, &QAction::toggled, TCPSocket, &VoiceChatSocket::SetMuted);
    Voice_Talk_Key = options->addAction(QStringLiteral("Push-to-Talk Key..."));
    connect(Voice_Talk_Key, &QAction::triggered, this, &Game::Voice_Talk_Key_Click);
    const QKeySequence stored(app.GetSetting(kTalkKeySetting));
    TalkKey = stored.isEmpty() ? kDefaultTalkKey : stored[0].key();

    TCPSocket->SetOwnName(FromWire(app.Session.CharacterName));
    TCPSocket->SetOutput([this]() -> Media& { return app.Audio(); });
    // The partner is as loud as the sound effects.
    auto volume = [this] {
        TCPSocket->SetVolume(app.GetSetting(QStringLiteral("Sound_Volume"), QStringLiteral("100")).toInt());
    };
    connect(Audio, &SoundAndMusic::effectsVolumeChanged, this, volume);
    connect(TCPSocket, &VoiceChatSocket::linkOpened, this, [this, volume] {
        volume();
        PlaceInputBox(4);
    });
    connect(TCPSocket, &VoiceChatSocket::linkClosed, this, [this] {
        PlaceInputBox(0);
        // Back to listening for requests, as after "/voicechat off", once the ending has run its course.
        QTimer::singleShot(0, this, [this] {
            if (VoiceChatOn->isChecked() && TCPSocket->IsClosed()) TCPSocket->Listen(quint16(VoicePort));
        });
    });
    connect(TCPSocket, &VoiceChatSocket::notice, this,
            [this](const QString& line) { PrintSystemLine(ToWire(line)); });
    connect(TCPSocket, &VoiceChatSocket::talkingChanged, this, &Game::ShowTalking);
    connect(CmdTalk, &QPushButton::pressed, TCPSocket, [this] { TCPSocket->Talk(true); });
    connect(CmdTalk, &QPushButton::released, TCPSocket, [this] { TCPSocket->Talk(false); });
}

void Game::ShowTalking(bool self, bool partner) {
    const QString name = TCPSocket->Partner();
    QString caption = QStringLiteral("Talk");
    if (self && partner)
        caption = QStringLiteral("Both talking");
    else if (self)
        caption = QStringLiteral("Talking...");
    else if (partner)
        caption = QStringLiteral("%1 talks").arg(name);
    CmdTalk->setText(caption);
    CmdTalk->setAccessibleDescription(caption);
}

bool Game::TalkKeyEvent(QObject* watched, QEvent* event) {
    if (watched != TI || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != TalkKey || !TCPSocket->IsOpen()) return false;
    if (!key->isAutoRepeat()) TCPSocket->Talk(event->type() == QEvent::KeyPress);
    return true;
}

void Game::SetTalkKey(int key) {
    TalkKey = key;
    app.SaveSetting(kTalkKeySetting, QKeySequence(key).toString(QKeySequence::PortableText));
    PrintSystemLine(ToWire(QStringLiteral("Hold %1 to talk in a voicechat.").arg(KeyName(key))));
}

void Game::Voice_Talk_Key_Click() {
    if (!TalkKeyWindow) {
        TalkKeyWindow = new QDialog(this);
        TalkKeyWindow->setWindowTitle(QStringLiteral("Push-to-Talk Key"));
        TalkKeyWindow->setAccessibleName(TalkKeyWindow->windowTitle());
        auto* layout = new QVBoxLayout(TalkKeyWindow);
        auto* label = new QLabel(QStringLiteral("Press the key to hold while talking:"), TalkKeyWindow);
        auto* edit = new QKeySequenceEdit(TalkKeyWindow);
        edit->setObjectName(QStringLiteral("TalkKeyEdit"));
        edit->setAccessibleName(QStringLiteral("Push-to-talk key"));
        label->setBuddy(edit);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, TalkKeyWindow);
        buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
        buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
        layout->addWidget(label);
        layout->addWidget(edit);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, TalkKeyWindow, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, TalkKeyWindow, &QDialog::reject);
        connect(TalkKeyWindow, &QDialog::accepted, this, [this, edit] {
            const QKeySequence chosen = edit->keySequence();
            // A key alone: held together with others it would type into the input line as well.
            if (!chosen.isEmpty() && chosen[0].keyboardModifiers() == Qt::NoModifier)
                SetTalkKey(chosen[0].key());
        });
        connect(TalkKeyWindow, &QDialog::finished, this, [this] { ReturnFocus(); });
        WatchWindow(TalkKeyWindow); // the keyboard stays in it after the menu closes
    }
    auto* edit = TalkKeyWindow->findChild<QKeySequenceEdit*>(QStringLiteral("TalkKeyEdit"));
    edit->setKeySequence(QKeySequence(TalkKey));
    TalkKeyWindow->open();
    TalkKeyWindow->raise();
    TalkKeyWindow->activateWindow();
    edit->setFocus();
}

} // namespace gr
