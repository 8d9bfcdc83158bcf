#include "downloads/DownloadIndicator.h"

#include "downloads/Downloads.h"

namespace gr {

DownloadIndicator::DownloadIndicator(Downloads& downloads, QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("DownloadIndicator"));
    connect(&downloads, &Downloads::progressChanged, this, &DownloadIndicator::Show);
    Show(downloads.Running(), downloads.Queued());
}

QString DownloadIndicator::Text(int running, int queued) {
    const int left = running + queued;
    if (left <= 0) return {};
    return left == 1 ? QStringLiteral("Downloading 1 file")
                     : QStringLiteral("Downloading %1 files").arg(left);
}

void DownloadIndicator::Show(int running, int queued) {
    const QString text = Text(running, queued);
    setText(text);
    setAccessibleName(text);
    setVisible(!text.isEmpty());
}

} // namespace gr
