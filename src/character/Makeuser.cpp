#include "character/Makeuser.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "character/CharacterName.h"
#include "app/App.h"
#include "core/WireText.h"
#include "login/AccountDisplay.h"
#include "login/Lodge.h"
#include "platform/Dialogs.h"
#include "platform/Ending.h"
#include "downloads/PictureStore.h"

namespace gr {

namespace {
const char* const kStyle =
    "QDialog, QWidget#Page { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #1d1533, stop:1 "
    "#2e1f3f); }"
    "QLabel, QRadioButton { color: #e8e0f0; }"
    "QLabel#Heading { color: #f3d9a4; font-weight: bold; }"
    "QLabel#Value { color: #fff7e6; font-weight: bold; }"
    "QRadioButton:disabled { color: #7d7190; }"
    "QGroupBox { color: #f3d9a4; font-weight: bold; border: 1px solid rgba(243, 217, 164, 90); "
    "border-radius: 6px;"
    " margin-top: 10px; padding-top: 8px; }"
    "QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; }"
    "QLineEdit { background: #f7f2ea; color: #1d1530; border: 1px solid #8c7aa8; border-radius: 4px; "
    "padding: 2px 6px; }"
    "QLineEdit:disabled { background: #b9b0c4; }"
    "QPushButton { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #c48a3a, stop:1 #8a5a1f); "
    "color: #fff7e6;"
    " border: 1px solid #f3d9a4; border-radius: 5px; padding: 3px 12px; font-weight: bold; }"
    "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #dba24c, stop:1 "
    "#a06a26); }"
    "QPushButton:disabled { background: #4a3f5c; color: #a89bbd; border-color: #6d5f85; }"
    "QLineEdit:focus { border: 2px solid #c48a3a; padding: 1px 5px; }"
    "QPushButton:focus { border: 2px solid #fff7e6; padding: 2px 11px; }"
    "QRadioButton:focus { color: #f3d9a4; text-decoration: underline; }"
    // The chosen button stands out from the others, and a disabled one from both.
    "QRadioButton::indicator { width: 10px; height: 10px; border-radius: 7px; border: 2px solid #c4b5dc;"
    " background: #1d1533; }"
    "QRadioButton::indicator:checked { background: #f3d9a4; border-color: #fff7e6; }"
    "QRadioButton::indicator:disabled { border-color: #5d5070; background: #2a2040; }"
    "QRadioButton::indicator:checked:disabled { background: #8a7a60; }"
    "QFrame#Squares { background: #efe6d2; border: 2px solid #8a5a1f; border-radius: 4px; }"
    "QFrame#Squares QLabel { color: #1d1530; }"
    "QFrame#Squares QPushButton { background: transparent; color: #1d1530; border: none; padding: 0; "
    "font-weight: normal; }"
    "QFrame#Squares QPushButton:focus { border: 1px dotted #1d1530; }";

constexpr int kPortraitSide = 40;

constexpr int kPortraitColumns = 10;
} // namespace

PageStack::PageStack(QWidget* parent) : QWidget(parent) {
    Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
}

void PageStack::addWidget(QWidget* page) {
    Layout->addWidget(page);
    List.push_back(page);
    if (Current < 0) Current = 0;
    page->setVisible(int(List.size()) - 1 == Current);
}

void PageStack::setCurrentIndex(int index) {
    if (index < 0 || index >= int(List.size())) return;
    Current = index;
    for (std::size_t i = 0; i < List.size(); ++i)
        List[i]->setVisible(int(i) == Current);
}

void PageStack::setCurrentWidget(QWidget* page) {
    const auto at = std::find(List.begin(), List.end(), page);
    if (at != List.end()) setCurrentIndex(int(at - List.begin()));
}

QWidget* PageStack::currentWidget() const {
    return Current < 0 ? nullptr : List[std::size_t(Current)];
}

QWidget* PageStack::widget(int index) const {
    return index >= 0 && index < int(List.size()) ? List[std::size_t(index)] : nullptr;
}

void ClickFrame::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit clicked();
}

void PortraitLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit clicked();
}

StatsPictureBox::StatsPictureBox(QWidget* parent) : QWidget(parent) {
    setFixedSize(kStatsPictureColumns * kSquare, kStatsPictureRows * kSquare);
    Clear();
}

void StatsPictureBox::Draw(const DigitGlyphTable& glyphs, const StatsRoll& roll) {
    Picture = StatsPicture(glyphs, roll);
    setAccessibleName(QStringLiteral("Rolled stats: ") + FromWire(StatsText(roll.Stats)));
    update();
}

void StatsPictureBox::Clear() {
    Picture.assign(std::size_t(kStatsPictureCells), 0);
    setAccessibleName(QStringLiteral("Rolled stats: none yet"));
    update();
}

void StatsPictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x14, 0x0e, 0x24));
    const QColor square(0xf3, 0xd9, 0xa4);
    for (int r = 0; r < kStatsPictureRows; ++r)
        for (int c = 0; c < kStatsPictureColumns; ++c)
            if (Picture[std::size_t(r * kStatsPictureColumns + c)])
                painter.fillRect(c * kSquare, r * kSquare, kSquare - 1, kSquare - 1, square);
}

Makeuser::Makeuser(App& app_) : app(app_) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Create a character - Gloamrest"));
    setStyleSheet(QString::fromLatin1(kStyle));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    Pages = new PageStack(this);
    outer->addWidget(Pages);
    BuildNamePage();
    BuildRollPage();
    RerollRefresh = new QTimer(this);
    RerollRefresh->setInterval(kRerollRefreshMs);
    connect(RerollRefresh, &QTimer::timeout, this, &Makeuser::RerollRefresh_Timer);
    app.CharacterCreationAnswer = [this](std::string_view text) { GenerateUser_Answer(text); };
}

Makeuser::~Makeuser() {
    // A window that was closed has let go already, and a newer one may have taken its place since.
    if (!Closed) app.CharacterCreationAnswer = nullptr;
}

void Makeuser::BuildNamePage() {
    auto* page = new QWidget(Pages);
    page->setObjectName(QStringLiteral("Page"));
    page->setMinimumWidth(460);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(12);
    auto* heading = new QLabel(QStringLiteral("A new character"), page);
    QFont headingFont(QStringLiteral("DejaVu Serif"));
    headingFont.setPixelSize(24);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    heading->setStyleSheet(QStringLiteral("color: #f3d9a4;"));
    layout->addWidget(heading);
    auto* rules =
        new QLabel(QStringLiteral("Letters only, with _ between words (for example dark_knight). Each word "
                                  "is at least two letters long."),
                   page);
    rules->setWordWrap(true);
    layout->addWidget(rules);
    auto* row = new QHBoxLayout;
    auto* nameLabel = new QLabel(QStringLiteral("&Name:"), page);
    row->addWidget(nameLabel);
    Nameuser = new QLineEdit(page);
    Nameuser->setMaxLength(int(kMaxCharacterNameLength));
    Nameuser->setAccessibleName(QStringLiteral("Name"));
    nameLabel->setBuddy(Nameuser);
    row->addWidget(Nameuser, 1);
    layout->addLayout(row);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    Nxt = new QPushButton(QStringLiteral("Next"), page);
    Cancel[0] = new QPushButton(QStringLiteral("Cancel"), page);
    Nxt->setDefault(true);
    buttons->addWidget(Nxt);
    buttons->addWidget(Cancel[0]);
    layout->addLayout(buttons);
    layout->addStretch(1);
    connect(Nxt, &QPushButton::clicked, this, &Makeuser::Nxt_Click);
    connect(Cancel[0], &QPushButton::clicked, this, &Makeuser::Cancel_Click);
    Pages->addWidget(page);
}

void Makeuser::BuildRollPage() {
    RollPage = new QWidget(Pages);
    RollPage->setObjectName(QStringLiteral("Page"));
    auto* layout = new QVBoxLayout(RollPage);
    layout->setContentsMargins(20, 14, 20, 14);
    layout->setSpacing(8);
    NameShown = new QLabel(RollPage);
    NameShown->setObjectName(QStringLiteral("Heading"));
    NameShown->setTextFormat(Qt::PlainText);
    QFont nameFont(QStringLiteral("DejaVu Serif"));
    nameFont.setPixelSize(22);
    nameFont.setBold(true);
    NameShown->setFont(nameFont);
    layout->addWidget(NameShown);

    auto* top = new QHBoxLayout;
    auto* raceBox = new QGroupBox(QStringLiteral("Race"), RollPage);
    auto* raceLayout = new QVBoxLayout(raceBox);
    RaceGroup = new QButtonGroup(this);
    for (int i = 0; i < kRaceCount; ++i) {
        Race[std::size_t(i)] =
            new QRadioButton(QString::fromLatin1(kRaceNames[std::size_t(i)].data(),
                                                 qsizetype(kRaceNames[std::size_t(i)].size())),
                             raceBox);
        RaceGroup->addButton(Race[std::size_t(i)], i);
        raceLayout->addWidget(Race[std::size_t(i)]);
        connect(Race[std::size_t(i)], &QRadioButton::clicked, this, [this, i] { Race_Click(i); });
    }
    Race[0]->setChecked(true);
    top->addWidget(raceBox);

    auto* classBox = new QGroupBox(QStringLiteral("Class"), RollPage);
    auto* classLayout = new QVBoxLayout(classBox);
    ClassGroup = new QButtonGroup(this);
    for (int i = 0; i < kClassCount; ++i) {
        Class[std::size_t(i)] =
            new QRadioButton(QString::fromLatin1(kClassNames[std::size_t(i)].data(),
                                                 qsizetype(kClassNames[std::size_t(i)].size())),
                             classBox);
        ClassGroup->addButton(Class[std::size_t(i)], i);
        classLayout->addWidget(Class[std::size_t(i)]);
    }
    top->addWidget(classBox);

    auto* right = new QVBoxLayout;
    auto* genderBox = new QGroupBox(QStringLiteral("Gender"), RollPage);
    auto* genderLayout = new QHBoxLayout(genderBox);
    Male = new QRadioButton(QStringLiteral("Male"), genderBox);
    Female = new QRadioButton(QStringLiteral("Female"), genderBox);
    Male->setChecked(true);
    genderLayout->addWidget(Male);
    genderLayout->addWidget(Female);
    genderLayout->addStretch(1);
    connect(Male, &QRadioButton::clicked, this, &Makeuser::Male_Click);
    connect(Female, &QRadioButton::clicked, this, &Makeuser::Female_Click);
    right->addWidget(genderBox);

    auto* statsBox = new QGroupBox(QStringLiteral("Stats"), RollPage);
    auto* statsLayout = new QGridLayout(statsBox);
    Stats = new StatsPictureBox(statsBox);
    statsLayout->addWidget(Stats, 0, 1);
    // The values under the picture, each under its own two digits.
    auto valueRow = [&](const QString& caption, std::array<QLabel*, kStatCount>& labels, int gridRow) {
        auto* label = new QLabel(caption, statsBox);
        statsLayout->addWidget(label, gridRow, 0);
        auto* strip = new QWidget(statsBox);
        strip->setFixedSize(Stats->width(), 22);
        for (int i = 0; i < kStatCount; ++i) {
            auto* value = new QLabel(strip);
            value->setObjectName(QStringLiteral("Value"));
            value->setAlignment(Qt::AlignCenter);
            value->setGeometry(StatColumn(i) * StatsPictureBox::kSquare, 0,
                               kStatColumns * StatsPictureBox::kSquare, 22);
            labels[std::size_t(i)] = value;
        }
        statsLayout->addWidget(strip, gridRow, 1);
    };
    auto* pictureCaption = new QLabel(QStringLiteral("Roll"), statsBox);
    statsLayout->addWidget(pictureCaption, 0, 0);
    valueRow(QStringLiteral("Rolled"), RolledStats, 1);
    valueRow(QStringLiteral("Maximum"), MaxStats, 2);
    Reroll = new QPushButton(QStringLiteral("&Reroll"), statsBox);
    statsLayout->addWidget(Reroll, 3, 1, Qt::AlignLeft);
    connect(Reroll, &QPushButton::clicked, this, &Makeuser::Reroll_Click);
    right->addWidget(statsBox);
    right->addStretch(1);
    top->addLayout(right, 1);
    layout->addLayout(top);

    auto* portraitBox = new QGroupBox(QStringLiteral("Portrait"), RollPage);
    auto* portraitGrid = new QGridLayout(portraitBox);
    portraitGrid->setHorizontalSpacing(8);
    portraitGrid->setVerticalSpacing(2);
    PortraitGroup = new QButtonGroup(this);
    for (int i = 0; i < kPortraitCount; ++i) {
        auto* picture = new PortraitLabel(portraitBox);
        picture->setFixedSize(kPortraitSide, kPortraitSide);
        picture->setScaledContents(true);
        picture->setAccessibleName(QStringLiteral("Portrait %1 picture").arg(i + 1));
        auto* select = new QRadioButton(QString::number(i + 1), portraitBox);
        select->setAccessibleName(QStringLiteral("Portrait %1").arg(i + 1));
        PortraitGroup->addButton(select, i);
        HavePic[std::size_t(i)] = picture;
        HavePicSelect[std::size_t(i)] = select;
        const int row = (i / kPortraitColumns) * 2;
        const int column = i % kPortraitColumns;
        portraitGrid->addWidget(picture, row, column, Qt::AlignHCenter);
        portraitGrid->addWidget(select, row + 1, column, Qt::AlignHCenter);
        connect(picture, &PortraitLabel::clicked, this, [this, i] { HavePic_Click(i); });
    }
    HavePicSelect[0]->setChecked(true);
    layout->addWidget(portraitBox);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    SubmitAll = new QPushButton(QStringLiteral("&Finish"), RollPage);
    Cancel[1] = new QPushButton(QStringLiteral("Cancel"), RollPage);
    buttons->addWidget(SubmitAll);
    buttons->addWidget(Cancel[1]);
    layout->addLayout(buttons);
    connect(SubmitAll, &QPushButton::clicked, this, &Makeuser::SubmitAll_Click);
    connect(Cancel[1], &QPushButton::clicked, this, &Makeuser::Cancel_Click);
    Pages->addWidget(RollPage);

    // Nothing on this page is usable until the server accepts the name.
    for (auto* b : Race)
        b->setEnabled(false);
    for (auto* b : Class)
        b->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{Male, Female, Reroll, SubmitAll, Cancel[1]})
        w->setEnabled(false);
    BuildHumanCheck(RollPage);
}

void Makeuser::BuildHumanCheck(QWidget* page) {
    Squares = new ClickFrame(page);
    Squares->setObjectName(QStringLiteral("Squares"));
    auto* layout = new QVBoxLayout(Squares);
    layout->setContentsMargins(12, 10, 12, 10);
    TextInfo = new QLabel(Squares);
    TextInfo->setTextFormat(Qt::PlainText);
    // It takes the keyboard when the check opens, so that no answer is chosen by a stray key; Tab goes on to
    // the answers.
    TextInfo->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(TextInfo);
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    for (int i = 0; i < kHumanCheckAnswers; ++i) {
        auto* answer = new QPushButton(QString::number(i), Squares);
        answer->setFont(QFont(QStringLiteral("Courier New"), 14));
        answer->setFixedSize(48, 34);
        answer->setAccessibleName(QString::number(i));
        Letters[std::size_t(i)] = answer;
        grid->addWidget(answer, i / 5, i % 5);
        connect(answer, &QPushButton::clicked, this, [this, i] { Letters_Click(i); });
    }
    layout->addLayout(grid);
    connect(Squares, &ClickFrame::clicked, this, &Makeuser::Squares_Click);
    Squares->adjustSize();
    Squares->hide();
}

void Makeuser::Form_Load() {
    DigitGlyphs = MakeDigitGlyphs();
    PictureStore& pictures = app.Pictures();
    connect(&pictures, &PictureStore::pictureArrived, this, &Makeuser::PictureArrived);
    for (int i = 0; i < kPortraitCount; ++i)
        ShowPortrait(i);
    Pages->setCurrentIndex(0);
    adjustSize();
    Nameuser->setFocus(Qt::OtherFocusReason);
}

void Makeuser::ShowPortrait(int index) {
    HavePic[std::size_t(index)]->setPixmap(app.Pictures().Picture(PortraitPicture(index)));
}

void Makeuser::PictureArrived(int number) {
    for (int i = 0; i < kPortraitCount; ++i)
        if (PortraitPicture(i) == number) ShowPortrait(i);
}

bool Makeuser::Send(const std::string& message) {
    return app.lodge && app.lodge->SendToServer(message);
}

void Makeuser::Nxt_Click() {
    if (Verifying || !Nxt->isEnabled()) return;
    const NameCheck check = CheckCharacterName(ToWire(Nameuser->text()));
    app.Session.CharacterName = check.Name;
    if (check.Problem == NameProblem::Empty) return;
    if (check.Problem != NameProblem::None) {
        const std::string_view message = NameProblemMessage(check.Problem);
        app.platform.dialogs.Message(FromWire(message));
        return;
    }
    Nameuser->setText(FromWire(check.Name));
    Nxt->setEnabled(false);
    Cancel[0]->setEnabled(false);
    Nxt->setText(QStringLiteral("Verifying"));
    Cancel[0]->setText(QStringLiteral("Verifying"));
    Verifying = true;
    Send("AccountGenerateUser" + check.Name);
}

void Makeuser::GenerateUser_Answer(std::string_view text) {
    if (Closed) return;
    if (text.starts_with("UsernameNotAccepted")) {
        if (Verifying) UsernameNotAccepted();
    } else if (text.starts_with("UsernameAccepted")) {
        if (Verifying) UsernameAccepted();
    } else if (text.starts_with("StatsIn")) {
        // A roll before the name is accepted, or one that does not read, changes nothing.
        const auto roll = ParseStatsIn(text);
        if (roll && Pages->currentWidget() == RollPage) StatsIn(*roll);
    }
}

void Makeuser::UsernameNotAccepted() {
    Verifying = false;
    app.platform.dialogs.Message(QStringLiteral("Username has already been registered or is being rolled"));
    if (Closed) return;
    Nxt->setText(QStringLiteral("Next"));
    Cancel[0]->setText(QStringLiteral("Cancel"));
    Nxt->setEnabled(true);
    Cancel[0]->setEnabled(true);
    Nameuser->setFocus(Qt::OtherFocusReason);
}

void Makeuser::UsernameAccepted() {
    Verifying = false;
    Nxt->setText(QStringLiteral("Verified OK"));
    Nxt->setEnabled(false);
    Nxt->setDefault(false);
    Cancel[0]->setEnabled(false);
    Nameuser->setEnabled(false);
    NameShown->setText(Nameuser->text());
    Cancel[1]->setEnabled(true);
    SubmitAll->setEnabled(true);
    SubmitAll->setDefault(true);
    for (auto* b : Race)
        b->setEnabled(true);
    for (auto* b : Class)
        b->setEnabled(true);
    Male->setEnabled(true);
    Female->setEnabled(true);
    Reroll->setEnabled(true);
    RerollRefresh->stop();
    // The stats start afresh: the first roll is for the race chosen now.
    Stats->Clear();
    for (auto* label : RolledStats)
        label->clear();
    const int race = std::max(0, ChosenRace());
    for (int i = 0; i < kStatCount; ++i)
        MaxStats[std::size_t(i)]->setText(QString::number(kMaxStats[std::size_t(race)][std::size_t(i)]));
    // The larger page grows about the window's centre and stays on the screen.
    const QPoint centre = frameGeometry().center();
    Pages->setCurrentWidget(RollPage);
    adjustSize();
    if (const QScreen* shown = screen()) {
        const QRect room = shown->availableGeometry();
        QRect frame = frameGeometry();
        frame.moveCenter(centre);
        frame.moveLeft(
            std::clamp(frame.left(), room.left(), std::max(room.left(), room.right() + 1 - frame.width())));
        frame.moveTop(
            std::clamp(frame.top(), room.top(), std::max(room.top(), room.bottom() + 1 - frame.height())));
        move(frame.topLeft());
    }
    Race[std::size_t(race)]->setFocus(Qt::OtherFocusReason);
    Send("AccountRol10");
}

void Makeuser::StatsIn(const StatsRoll& roll) {
    Stats->Draw(DigitGlyphs, roll);
    for (int i = 0; i < kStatCount; ++i)
        RolledStats[std::size_t(i)]->setText(QString::number(roll.Stats[std::size_t(i)]));
    // A class the roll does not allow is unchosen; the group lets no button go unchosen while it is
    // exclusive.
    ClassGroup->setExclusive(false);
    for (int i = 0; i < kClassCount; ++i) {
        QRadioButton* button = Class[std::size_t(i)];
        button->setEnabled(roll.Classes[std::size_t(i)]);
        if (!roll.Classes[std::size_t(i)]) button->setChecked(false);
    }
    ClassGroup->setExclusive(true);
    RerollRefresh->stop();
    // A roll asked for before the check appeared may still arrive: it is shown, but the check stays in the
    // way of finishing and rolling until it is answered.
    if (HumanCheckPending == 1) return;
    Reroll->setEnabled(true);
    SubmitAll->setEnabled(true);
}

int Makeuser::ChosenRace() const {
    for (int i = 0; i < kRaceCount; ++i)
        if (Race[std::size_t(i)]->isChecked()) return i;
    return -1;
}

int Makeuser::ChosenClass() const {
    for (int i = 0; i < kClassCount; ++i)
        if (Class[std::size_t(i)]->isChecked() && Class[std::size_t(i)]->isEnabled()) return i;
    return -1;
}

int Makeuser::ChosenPortrait() const {
    for (int i = 0; i < kPortraitCount; ++i)
        if (HavePicSelect[std::size_t(i)]->isChecked()) return i;
    return -1;
}

void Makeuser::Race_Click(int index) {
    if (index == kDarkElf) {
        app.platform.dialogs.Warning(FromWire(kDarkElfNote));
        if (Closed) return;
    }
    RequestReroll();
    for (int i = 0; i < kStatCount; ++i)
        MaxStats[std::size_t(i)]->setText(QString::number(kMaxStats[std::size_t(index)][std::size_t(i)]));
}

void Makeuser::Male_Click() {
    Male->setChecked(true);
    Female->setChecked(false);
}

void Makeuser::Female_Click() {
    Female->setChecked(true);
    Male->setChecked(false);
}

void Makeuser::HavePic_Click(int index) {
    if (HavePicSelect[std::size_t(index)]->isEnabled()) HavePicSelect[std::size_t(index)]->setChecked(true);
}

void Makeuser::Reroll_Click() {
    RequestReroll();
}

void Makeuser::RequestReroll() {
    if (HumanCheckPending == 1) return;
    Reroll->setEnabled(false);
    SubmitAll->setEnabled(false);
    if (DrawHumanCheck(app.platform.random)) {
        ShowHumanCheck();
        return;
    }
    RerollRefresh->start();
    SendRoll();
}

void Makeuser::SendRoll() {
    Send("AccountRol1" + std::to_string(std::max(0, ChosenRace())));
}

void Makeuser::RerollRefresh_Timer() {
    if (HumanCheckPending == 1) return;
    // Once is enough: Reroll is usable again, and the focus is not pulled back to it every few seconds.
    RerollRefresh->stop();
    Reroll->setEnabled(true);
    Reroll->setFocus(Qt::OtherFocusReason);
}

void Makeuser::ShowHumanCheck() {
    const HumanCheckQuestion q = DrawHumanCheckQuestion(app.platform.random);
    for (int i = 0; i < kHumanCheckAnswers; ++i) {
        QFont font(QStringLiteral("Courier New"));
        font.setPointSize(q.LetterSizes[std::size_t(i)]);
        Letters[std::size_t(i)]->setFont(font);
    }
    CorrectAnswer = q.CorrectAnswer;
    TextInfo->setText(FromWire(q.Text));
    TextInfo->setAccessibleName(FromWire(q.Text));
    QFont questionFont = TextInfo->font();
    questionFont.setPointSize(q.TextSize);
    questionFont.setBold(true);
    TextInfo->setFont(questionFont);
    Squares->adjustSize();
    const FramePlace place = PlaceHumanCheck(q.OffsetX, q.OffsetY, RollPage->width(), RollPage->height(),
                                             Squares->width(), Squares->height());
    Squares->move(place.Left, place.Top);
    Squares->show();
    Squares->raise();
    HumanCheckPending = 1;
    TextInfo->setFocus(Qt::OtherFocusReason);
}

void Makeuser::Letters_Click(int index) {
    if (HumanCheckPending != 1) return;
    if (index != CorrectAnswer) {
        // The protection against automated players: a wrong answer ends the program without a word.
        app.platform.ending.End();
        return;
    }
    Squares->hide();
    HumanCheckPending = 0;
    RerollRefresh->start();
    Reroll->setFocus(Qt::OtherFocusReason);
    SendRoll();
}

void Makeuser::Squares_Click() {
    if (HumanCheckPending == 1) app.platform.ending.End();
}

void Makeuser::TextInfo_Click() {
    Squares_Click();
}

void Makeuser::SubmitAll_Click() {
    if (Closed) return;
    const int chosenClass = ChosenClass();
    if (chosenClass < 0) {
        app.platform.dialogs.Message(QStringLiteral("You have not chosen a class."));
        return;
    }
    const std::string gender = Male->isChecked() ? "M" : "F";
    const int portrait = std::max(0, ChosenPortrait());
    for (auto* b : HavePicSelect)
        b->setEnabled(false);
    for (auto* b : Race)
        b->setEnabled(false);
    for (auto* b : Class)
        b->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{Nameuser, Nxt, Cancel[0], Cancel[1], SubmitAll, Reroll,
                                                      Male, Female})
        w->setEnabled(false);
    Nxt->setText(QStringLiteral("Next"));
    Cancel[0]->setText(QStringLiteral("Cancel"));
    RerollRefresh->stop();
    const std::string& name = app.Session.CharacterName;
    if (!Send("AccountNewCrit" + name + "/" + gender + "/" +
              std::string(kClassNames[std::size_t(chosenClass)]) + "/" + std::to_string(portrait)))
        return;
    // The portrait selector of the game window marks the character's portrait from here.
    app.SaveSetting(QStringLiteral("POR_") + FromWire(name), QString::number(portrait));
    close();
}

void Makeuser::Cancel_Click() {
    close();
}

void Makeuser::reject() {
    close();
}

void Makeuser::closeEvent(QCloseEvent* event) {
    event->accept();
    if (Closed) return;
    Closed = true;
    RerollRefresh->stop();
    app.CharacterCreationAnswer = nullptr;
    if (app.accountDisplay) {
        app.accountDisplay->show();
        app.accountDisplay->TakeKeyboard();
    }
}

} // namespace gr
