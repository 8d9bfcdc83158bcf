#include "character/PortraitSelector.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "downloads/PictureSource.h"

namespace gr {

namespace {
constexpr int kColumns = 10;
constexpr int kSide = 44;
} // namespace

std::string PortraitCommand(int index) {
    return "/portrait " + std::to_string(index);
}

Character_Portrait_Selector::Character_Portrait_Selector(PictureSource& pictures_, int current,
                                                         std::function<void(int)> choose, QWidget* parent)
    : QDialog(parent), pictures(pictures_), Choose(std::move(choose)) {
    setWindowTitle(QStringLiteral("Portrait - Gloamrest"));
    setStyleSheet(
        QStringLiteral("QDialog { background: #241a3d; } QLabel { color: #e8e0f0; }"
                       "QPushButton#Portrait { background: #140e24; border: 2px solid #3a2d5c; padding: 0; }"
                       "QPushButton#Portrait:checked { border: 3px solid #f3d9a4; }"
                       "QPushButton#Portrait:focus { border: 2px dotted #fff7e6; }"
                       "QPushButton#Portrait:checked:focus { border: 3px dotted #f3d9a4; }"));
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(QStringLiteral("Choose your character's portrait."), this);
    layout->addWidget(hint);
    auto* grid = new QGridLayout;
    grid->setSpacing(4);
    for (int i = 0; i < kPortraitCount; ++i) {
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("Portrait"));
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setFixedSize(kSide, kSide);
        button->setIconSize(QSize(kSide - 6, kSide - 6));
        button->setAccessibleName(QStringLiteral("Portrait %1").arg(i + 1));
        HavePic[std::size_t(i)] = button;
        grid->addWidget(button, i / kColumns, i % kColumns);
        connect(button, &QPushButton::clicked, this, [this, i] { HavePic_Click(i); });
        ShowPortrait(i);
    }
    layout->addLayout(grid);
    CurrentText = new QLabel(this);
    layout->addWidget(CurrentText);
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    CloseButton->setAutoDefault(false);
    layout->addWidget(CloseButton, 0, Qt::AlignRight);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);
    Mark(current);
}

void Character_Portrait_Selector::ShowPortrait(int index) {
    HavePic[std::size_t(index)]->setIcon(QIcon(pictures.Picture(PortraitPicture(index))));
}

void Character_Portrait_Selector::PictureArrived(int number) {
    for (int i = 0; i < kPortraitCount; ++i)
        if (PortraitPicture(i) == number) ShowPortrait(i);
}

void Character_Portrait_Selector::Mark(int index) {
    CurrentIndex = index >= 0 && index < kPortraitCount ? index : -1;
    for (int i = 0; i < kPortraitCount; ++i) {
        QPushButton* button = HavePic[std::size_t(i)];
        button->setChecked(i == CurrentIndex);
        button->setAccessibleName(QStringLiteral("Portrait %1").arg(i + 1) +
                                  (i == CurrentIndex ? QStringLiteral(" (current)") : QString()));
    }
    CurrentText->setText(CurrentIndex < 0 ? QStringLiteral("Current portrait: not known")
                                          : QStringLiteral("Current portrait: %1").arg(CurrentIndex + 1));
}

void Character_Portrait_Selector::HavePic_Click(int index) {
    if (index < 0 || index >= kPortraitCount) return;
    const bool changed = index != CurrentIndex;
    Mark(index); // a click on the current one keeps it marked
    if (changed && Choose) Choose(index);
}

} // namespace gr
