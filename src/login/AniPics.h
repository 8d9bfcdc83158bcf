#pragma once
#include <QPixmap>
#include <vector>

namespace gr {

// The picture holder of the login window: every frame is painted once, on first use, and kept.
class AniPics {
  public:
    static const AniPics& Get();                // paints on first call (needs a QGuiApplication)
    std::vector<QPixmap> LoginAni;              // 29 frames, the log-in button ("Log In")
    std::vector<QPixmap> CreateAccountAni;      // 38 frames, the create-account button ("Create Account")
    std::vector<QPixmap> ConnectingAni;         // the connecting animation (24 frames)
    QPixmap HelpIcon;                           // small round help icon with a "?" (28 x 28)
    static QPixmap Backdrop(const QSize& size); // the window's background, painted for a size
    static constexpr int ButtonWidth = 170, ButtonHeight = 46, ConnectingSize = 48;
};

} // namespace gr
