#include "skin/SkinChooser.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/WireText.h"
#include "platform/Dialogs.h"
#include "downloads/Downloads.h"
#include "downloads/PictureDecode.h"

namespace gr {

namespace {
constexpr int kPreviewWidth = 320;
constexpr int kPreviewHeight = 241; // the window's proportions
constexpr qint64 kMaxSkinFileBytes = 64 * 1024;

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), std::size_t(bytes.size())};
}
} // namespace

SkinChooser::SkinChooser(Downloads& downloads, Dialogs& dialogs, QString folder,
                         std::function<void(const QString&)> apply, QWidget* parent)
    : QDialog(parent), Service(downloads), Messages(dialogs), Folder(std::move(folder)),
      Apply(std::move(apply)) {
    setWindowTitle(QStringLiteral("Skins"));
    auto* listLabel = new QLabel(QStringLiteral("&Skins offered"), this);
    SkinListBox = new QListWidget(this);
    SkinListBox->setAccessibleName(QStringLiteral("Skins offered"));
    listLabel->setBuddy(SkinListBox);
    Preview = new QLabel(this);
    Preview->setFixedSize(kPreviewWidth, kPreviewHeight);
    Preview->setAlignment(Qt::AlignCenter);
    Preview->setFrameShape(QFrame::StyledPanel);
    Preview->setAccessibleName(QStringLiteral("Skin picture"));
    Description = new QLabel(this);
    Description->setWordWrap(true);
    Description->setTextFormat(Qt::PlainText);
    Description->setAccessibleName(QStringLiteral("Skin description"));
    State = new QLabel(this);
    State->setTextFormat(Qt::PlainText);
    State->setAccessibleName(QStringLiteral("Skin download"));
    UseSkin = new QPushButton(QStringLiteral("&Use Skin"), this);
    UseSkin->setAccessibleName(QStringLiteral("Use Skin"));
    UseSkin->setDefault(true);
    CloseButton = new QPushButton(QStringLiteral("&Close"), this);
    CloseButton->setAccessibleName(QStringLiteral("Close"));

    auto* left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(SkinListBox);
    auto* right = new QVBoxLayout;
    right->addWidget(Preview);
    right->addWidget(Description);
    right->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(State, 1);
    buttons->addWidget(UseSkin);
    buttons->addWidget(CloseButton);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addLayout(buttons);
    // Never smaller than its contents: the picture and its description stay whole.
    all->setSizeConstraint(QLayout::SetMinimumSize);
    Description->setMinimumHeight(Description->fontMetrics().lineSpacing() * 3);
    setTabOrder(SkinListBox, UseSkin);
    setTabOrder(UseSkin, CloseButton);

    connect(SkinListBox, &QListWidget::currentRowChanged, this, &SkinChooser::Selected);
    connect(SkinListBox, &QListWidget::itemActivated, this, &SkinChooser::Use_Click);
    connect(UseSkin, &QPushButton::clicked, this, &SkinChooser::Use_Click);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
    ShowList({});
}

void SkinChooser::Refresh() {
    State->setText(QStringLiteral("Asking the web host for its skins..."));
    DownloadRequest request;
    request.Kind = DownloadKind::Skin;
    request.Path = QStringLiteral("/grskins/skins.ini");
    request.File = QStringLiteral("skins/skins.ini");
    request.MaxBytes = qint64(kMaxSkinListBytes);
    request.Accept = [](const QByteArray&) { return true; };
    const bool asked = Service.Fetch(std::move(request), this, [this](const DownloadResult& result) {
        if (!result.Saved) {
            State->setText(QStringLiteral("The web host offers no skins just now."));
            return;
        }
        State->clear();
        ShowList(ParseSkinList(View(result.Body)));
    });
    if (!asked) State->setText(QStringLiteral("The web host offers no skins just now."));
}

void SkinChooser::ShowList(const std::vector<SkinListEntry>& skins) {
    Offered = skins;
    SkinListBox->clear();
    SkinListBox->addItem(QStringLiteral("Built-in look"));
    for (const SkinListEntry& skin : Offered)
        SkinListBox->addItem(FromWire(skin.Name));
    SkinListBox->setCurrentRow(0);
    SkinListBox->setFocus();
}

void SkinChooser::Selected() {
    const int row = SkinListBox->currentRow();
    if (row <= 0 || std::size_t(row) > Offered.size()) {
        Preview->setText(QStringLiteral("The game's own look"));
        Description->setText(QStringLiteral("The look the game has without a skin."));
        return;
    }
    const SkinListEntry& skin = Offered[std::size_t(row - 1)];
    Description->setText(FromWire(skin.Description));
    ShowPicture(skin.BaseName);
}

void SkinChooser::ShowPicture(const std::string& baseName, bool fetchWhenMissing) {
    const QString file = QDir(Folder).filePath(QStringLiteral("skins/") +
                                               QString::fromStdString(SkinPictureFileName(baseName)));
    const qreal ratio = devicePixelRatioF();
    const QSize room = QSize(kPreviewWidth, kPreviewHeight) * ratio;
    QFile picture(file);
    if (picture.open(QIODevice::ReadOnly)) {
        const QImage image =
            DecodePicture(picture.read(qint64(kMaxSkinPictureBytes) + 1), kMaxSkinPictureSide, room);
        if (!image.isNull()) {
            QPixmap shown =
                QPixmap::fromImage(image.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation));
            shown.setDevicePixelRatio(ratio);
            Preview->setPixmap(shown);
            return;
        }
    }
    if (!fetchWhenMissing) {
        Preview->setText(QStringLiteral("No picture"));
        return;
    }
    Preview->setText(QStringLiteral("Fetching the picture..."));
    DownloadRequest request;
    request.Kind = DownloadKind::Skin;
    request.Path = QString::fromStdString(SkinPictureWebPath(baseName));
    request.File = QStringLiteral("skins/") + QString::fromStdString(SkinPictureFileName(baseName));
    request.MaxBytes = qint64(kMaxSkinPictureBytes);
    request.Accept = [](const QByteArray& body) { return IsWholeSkinPicture(View(body)); };
    Service.Fetch(std::move(request), this, [this, baseName](const DownloadResult& result) {
        const int row = SkinListBox->currentRow();
        const bool stillShown = row > 0 && std::size_t(row) <= Offered.size() &&
                                Offered[std::size_t(row - 1)].BaseName == baseName;
        if (!stillShown) return;
        if (result.Saved)
            ShowPicture(baseName, false); // once: a saved picture that still does not show is no picture
        else
            Preview->setText(QStringLiteral("No picture"));
    });
}

void SkinChooser::Use_Click() {
    const int row = SkinListBox->currentRow();
    if (row <= 0 || std::size_t(row) > Offered.size()) {
        Apply(QString());
        accept();
        return;
    }
    if (Pending > 0) return; // one skin at a time
    Choosing = Offered[std::size_t(row - 1)].BaseName;
    PendingBad = false;
    Pending = 2;
    State->setText(QStringLiteral("Downloading the skin..."));
    UseSkin->setEnabled(false);
    for (const bool picture : {false, true}) {
        DownloadRequest request;
        request.Kind = DownloadKind::Skin;
        request.Path = QString::fromStdString(picture ? SkinPictureWebPath(Choosing) : SkinWebPath(Choosing));
        request.File =
            QStringLiteral("skins/") +
            QString::fromStdString(picture ? SkinPictureFileName(Choosing) : SkinFileName(Choosing));
        request.MaxBytes = picture ? qint64(kMaxSkinPictureBytes) : kMaxSkinFileBytes;
        request.Accept = picture ? std::function<bool(const QByteArray&)>(
                                       [](const QByteArray& body) { return IsWholeSkinPicture(View(body)); })
                                 : [](const QByteArray& body) { return IsWholeSkinFile(View(body)); };
        const std::string name = Choosing;
        if (!Service.Fetch(std::move(request), this, [this, name](const DownloadResult& result) {
                if (!result.Saved) PendingBad = true;
                Fetched(name);
            })) {
            PendingBad = true;
            Fetched(Choosing);
        }
    }
}

void SkinChooser::Fetched(const std::string& baseName) {
    if (baseName != Choosing || Pending == 0) return;
    if (--Pending > 0) return;
    UseSkin->setEnabled(true);
    State->clear();
    if (PendingBad) {
        Messages.Message(QString::fromLatin1(kSkinDownloadCorruptMessage.data(),
                                             qsizetype(kSkinDownloadCorruptMessage.size())));
        SkinListBox->setFocus();
        return;
    }
    Apply(QString::fromStdString(SkinFileName(baseName)));
    accept();
}

} // namespace gr
