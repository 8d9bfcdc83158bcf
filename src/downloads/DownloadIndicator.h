#pragma once
// A small label that shows how many downloads are left while any are, and hides when none are: the
// player sees pictures (and later sounds and skins) arriving without a box in the way.
#include <QLabel>

namespace gr {

class Downloads;

class DownloadIndicator final : public QLabel {
    Q_OBJECT
public:
    explicit DownloadIndicator(Downloads& downloads, QWidget* parent = nullptr);

    // "Downloading 1 file", "Downloading 4 files"; empty when nothing is left.
    static QString Text(int running, int queued);

private:
    void Show(int running, int queued);
};

} // namespace gr
