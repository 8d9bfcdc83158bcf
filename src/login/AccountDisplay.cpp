#include "login/AccountDisplay.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "character/CharacterTables.h"
#include "character/Makeuser.h"
#include "app/App.h"
#include "core/BoundText.h"
#include "core/Numbers.h"
#include "core/WireText.h"
#include "login/AccountDialogs.h"
#include "login/Lodge.h"
#include "platform/Dialogs.h"
#include "platform/Ending.h"
#include "downloads/PictureStore.h"

namespace gr {

namespace {
constexpr int kRowHeight = 28;
const char* const kStyle =
    "QMainWindow, QWidget#Back { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #1d1533, stop:1 #2e1f3f); }"
    "QDialog, QMessageBox { background: #241a3d; }"
    "QLabel { color: #e8e0f0; }"
    "QLabel#Heading { color: #f3d9a4; font-weight: bold; }"
    "QLabel#Cell { background: rgba(255, 255, 255, 14); border-bottom: 1px solid rgba(243, 217, 164, 40); padding-left: 6px; }"
    "QLabel#Cell[odd=\"true\"] { background: rgba(255, 255, 255, 28); }"
    "QGroupBox { color: #f3d9a4; font-weight: bold; border: 1px solid rgba(243, 217, 164, 90); border-radius: 6px;"
    " margin-top: 10px; padding-top: 8px; }"
    "QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; }"
    "QLineEdit, QComboBox { background: #f7f2ea; color: #1d1530; border: 1px solid #8c7aa8; border-radius: 4px; padding: 2px 6px; }"
    "QPushButton { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #c48a3a, stop:1 #8a5a1f); color: #fff7e6;"
    " border: 1px solid #f3d9a4; border-radius: 5px; padding: 3px 12px; font-weight: bold; }"
    "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #dba24c, stop:1 #a06a26); }"
    "QScrollBar:vertical { background: #241a3d; width: 14px; border-radius: 6px; }"
    "QScrollBar::handle:vertical { background: #8c7aa8; border-radius: 6px; min-height: 24px; }"
    "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
    "QPushButton:disabled { background: #4a3f5c; color: #a89bbd; border-color: #6d5f85; }"
    // Whatever takes the keys shows it.
    "QLineEdit:focus, QComboBox:focus { border: 2px solid #c48a3a; padding: 1px 5px; }"
    "QPushButton:focus { border: 2px solid #fff7e6; padding: 2px 11px; }";
} // namespace

AccountDisplay::AccountDisplay(App& app_) : app(app_) {
    app.accountDisplay = this;
    BuildControls();
}

void AccountDisplay::BuildControls() {
    setWindowTitle(QStringLiteral("Account Manager - Gloamrest"));
    setStyleSheet(QString::fromLatin1(kStyle));
    auto* back = new QWidget(this);
    back->setObjectName(QStringLiteral("Back"));
    setCentralWidget(back);
    auto* outer = new QVBoxLayout(back);
    outer->setContentsMargins(16, 14, 16, 14);
    outer->setSpacing(10);

    auto* title = new QLabel(QStringLiteral("Your characters"), back);
    QFont titleFont(QStringLiteral("DejaVu Serif"));
    titleFont.setPixelSize(24);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setStyleSheet(QStringLiteral("color: #f3d9a4;"));
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(title);
    titleRow->addStretch(1);
    MakeChar = new QPushButton(QStringLiteral("&New Character"), back);
    MakeChar->setToolTip(QStringLiteral("Create a new character on this account"));
    titleRow->addWidget(MakeChar);
    outer->addLayout(titleRow);

    auto* tableRow = new QHBoxLayout;
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(2);
    const int widths[6] = {170, 60, 100, 100, 80, 110};
    for (int c = 0; c < 6; ++c) {
        auto* heading = new QLabel(QString::fromLatin1(kColumnNames[c]), back);
        heading->setObjectName(QStringLiteral("Heading"));
        heading->setContentsMargins(6, 0, 0, 0);
        grid->addWidget(heading, 0, c + 1);
        grid->setColumnMinimumWidth(c + 1, widths[c]);
    }
    for (int r = 0; r < kVisibleRows; ++r) {
        for (int c = 0; c < 6; ++c) {
            auto* cell = new QLabel(back);
            cell->setObjectName(QStringLiteral("Cell"));
            cell->setProperty("odd", r % 2 == 1);
            cell->setFixedHeight(kRowHeight);
            // The server's text, shown as it stands: never taken as markup that could load local pictures.
            cell->setTextFormat(Qt::PlainText);
            CTable[std::size_t(6 * r + c)] = cell;
            grid->addWidget(cell, r + 1, c + 1);
        }
        // The character's portrait, where this client knows it (chosen here at creation or in the game).
        auto* portrait = new QLabel(back);
        portrait->setFixedSize(kRowHeight, kRowHeight);
        portrait->setScaledContents(true);
        CritPortrait[std::size_t(r)] = portrait;
        grid->addWidget(portrait, r + 1, 0);
        auto* play = new QPushButton(QStringLiteral("Play"), back);
        play->setFixedSize(64, kRowHeight - 2);
        // A row without a character shows no button, but keeps its place.
        QSizePolicy keep = play->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        play->setSizePolicy(keep);
        Play[std::size_t(r)] = play;
        grid->addWidget(play, r + 1, 7);
        connect(play, &QPushButton::clicked, this, [this, r] { Play_Click(r); });
    }
    tableRow->addLayout(grid);
    CScroll = new QScrollBar(Qt::Vertical, back);
    CScroll->setRange(0, 0);
    CScroll->setPageStep(kVisibleRows);
    tableRow->addWidget(CScroll);
    outer->addLayout(tableRow);
    connect(CScroll, &QScrollBar::valueChanged, this, &AccountDisplay::ShowCritPage);

    CScroll->setAccessibleName(QStringLiteral("Scroll the character list"));

    auto* findRow = new QHBoxLayout;
    auto* playByName = new QLabel(QStringLiteral("Play by name:"), back);
    findRow->addWidget(playByName);
    TypeCritPlay = new QLineEdit(back);
    playByName->setBuddy(TypeCritPlay);
    TypeCritPlay->setAccessibleName(QStringLiteral("Play by name"));
    TypeCritPlay->setPlaceholderText(QStringLiteral("type a character's name, then Enter"));
    TypeCritPlay->installEventFilter(this);
    findRow->addWidget(TypeCritPlay, 1);
    findRow->addSpacing(20);
    auto* sortBy = new QLabel(QStringLiteral("Sort by:"), back);
    findRow->addWidget(sortBy);
    ABC = new QComboBox(back);
    sortBy->setBuddy(ABC);
    ABC->setAccessibleName(QStringLiteral("Sort by"));
    for (const char* name : kColumnNames) ABC->addItem(QString::fromLatin1(name));
    ABC->setPlaceholderText(QStringLiteral("as listed"));
    findRow->addWidget(ABC);
    ABCSort = new QPushButton(QStringLiteral("Sort"), back);
    findRow->addWidget(ABCSort);
    outer->addLayout(findRow);
    connect(TypeCritPlay, &QLineEdit::textEdited, this, &AccountDisplay::TypeCritPlay_Change);
    connect(ABCSort, &QPushButton::clicked, this, &AccountDisplay::ABCSort_Click);

    auto* bottom = new QHBoxLayout;
    auto* transfer = new QGroupBox(QStringLiteral("Transfer a character"), back);
    auto* transferRow = new QHBoxLayout(transfer);
    auto* characterLabel = new QLabel(QStringLiteral("Character:"), transfer);
    transferRow->addWidget(characterLabel);
    CharacterMove = new QLineEdit(transfer);
    transferRow->addWidget(CharacterMove);
    auto* accountLabel = new QLabel(QStringLiteral("to account:"), transfer);
    transferRow->addWidget(accountLabel);
    NewAccount = new QLineEdit(transfer);
    transferRow->addWidget(NewAccount);
    // Named after their own labels, not after the group's title.
    characterLabel->setBuddy(CharacterMove);
    accountLabel->setBuddy(NewAccount);
    CharacterMove->setAccessibleName(QStringLiteral("Character to transfer"));
    NewAccount->setAccessibleName(QStringLiteral("To account"));
    TransferCrit = new QPushButton(QStringLiteral("Transfer Character"), transfer);
    transferRow->addWidget(TransferCrit);
    bottom->addWidget(transfer, 1);
    connect(TransferCrit, &QPushButton::clicked, this, &AccountDisplay::TransferCrit_Click);

    auto* account = new QGroupBox(QStringLiteral("Account"), back);
    auto* accountRow = new QHBoxLayout(account);
    ChangePassword = new QPushButton(QStringLiteral("Password"), account);
    ChangeEmail = new QPushButton(QStringLiteral("E-mail"), account);
    DeleteCharacter = new QPushButton(QStringLiteral("Delete"), account);
    RefreshCrit = new QPushButton(QStringLiteral("Refresh"), account);
    ChangePassword->setToolTip(QStringLiteral("Change the account's password"));
    ChangeEmail->setToolTip(QStringLiteral("Change the account's e-mail address"));
    DeleteCharacter->setToolTip(QStringLiteral("Delete a character for good"));
    RefreshCrit->setToolTip(QStringLiteral("Ask the server for the list again"));
    for (auto* b : {ChangePassword, ChangeEmail, DeleteCharacter, RefreshCrit}) accountRow->addWidget(b);
    bottom->addWidget(account);
    outer->addLayout(bottom);
    connect(ChangePassword, &QPushButton::clicked, this, &AccountDisplay::ChangePassword_Click);
    connect(ChangeEmail, &QPushButton::clicked, this, &AccountDisplay::ChangeEmail_Click);
    connect(DeleteCharacter, &QPushButton::clicked, this, &AccountDisplay::DeleteCharacter_Click);
    connect(RefreshCrit, &QPushButton::clicked, this, &AccountDisplay::RefreshCritInfo);
    connect(MakeChar, &QPushButton::clicked, this, &AccountDisplay::MakeChar_Click);

    // The keyboard: the name box first, then the rows' Play buttons, then the rest in reading order.
    QWidget* previous = TypeCritPlay;
    for (QWidget* next : std::initializer_list<QWidget*>{Play[0], Play[1], Play[2], Play[3], Play[4], Play[5], Play[6],
                                                         Play[7], Play[8], Play[9], Play[10], ABC, ABCSort,
                                                         CharacterMove, NewAccount, TransferCrit, ChangePassword,
                                                         ChangeEmail, DeleteCharacter, RefreshCrit, MakeChar}) {
        setTabOrder(previous, next);
        previous = next;
    }

    // The sort chosen in an earlier run.
    const auto sort = WholeNumber(ToWire(app.GetSetting(QStringLiteral("Sort"))));
    if (sort && *sort >= 0 && *sort < 6) ABC->setCurrentIndex(*sort);
    else ABC->setCurrentIndex(-1);
    adjustSize();
    setFixedSize(sizeHint());
}

int AccountDisplay::SortColumn() const { return ABC->currentIndex(); }

void AccountDisplay::ShowCritPage() {
    const auto& view = app.Account.CritView;
    int used = 0;
    for (int r = 0; r < kCritRows; ++r)
        if (!view[std::size_t(r)][0].empty()) used = r + 1;
    {
        const QSignalBlocker quiet(CScroll);
        CScroll->setRange(0, std::max(0, used - kVisibleRows));
    }
    const int top = CScroll->value();
    for (int row = 0; row < kVisibleRows; ++row) {
        const int r = top + row;
        for (int c = 0; c < 6; ++c) {
            const std::string& text = r < kCritRows ? view[std::size_t(r)][std::size_t(c)] : std::string();
            CTable[std::size_t(6 * row + c)]->setText(FromWire(BoundText(text, kMaxTitleBytes)));
        }
        Play[std::size_t(row)]->setVisible(!CTable[std::size_t(6 * row)]->text().isEmpty());
        NamePlayButton(row);
        ShowPortrait(row);
    }
}

void AccountDisplay::ShowPortrait(int row) {
    QLabel* portrait = CritPortrait[std::size_t(row)];
    const QString name = CTable[std::size_t(6 * row)]->text();
    const auto index =
        name.isEmpty() ? std::nullopt : WholeNumber(ToWire(app.GetSetting(QStringLiteral("POR_") + name)));
    if (!index || PortraitPicture(*index) == 0) {
        portrait->clear();
        portrait->setAccessibleName(QString());
        return;
    }
    PictureStore& pictures = app.Pictures();
    if (!WatchingPictures) {
        WatchingPictures = true;
        connect(&pictures, &PictureStore::pictureArrived, this, [this](int number) {
            for (int r = 0; r < kVisibleRows; ++r)
                if (CritPortrait[std::size_t(r)]->property("picture").toInt() == number) ShowPortrait(r);
        });
    }
    portrait->setProperty("picture", PortraitPicture(*index));
    portrait->setPixmap(pictures.Picture(PortraitPicture(*index)));
    portrait->setAccessibleName(QStringLiteral("Portrait of ") + name);
}

void AccountDisplay::NamePlayButton(int row) {
    QPushButton* play = Play[std::size_t(row)];
    play->setAccessibleName(play->text() + QLatin1Char(' ') + CTable[std::size_t(6 * row)]->text());
}

void AccountDisplay::TakeKeyboard() {
    raise();
    activateWindow();
    TypeCritPlay->setFocus(Qt::OtherFocusReason);
}

void AccountDisplay::EnableTransfer() {
    TransferCrit->setText(QStringLiteral("Transfer Character"));
    TransferCrit->setEnabled(true);
}

void AccountDisplay::RefreshView() {
    app.Account.CritView = BuildCritView(app.Account.CritTable, ToWire(TypeCritPlay->text()), SortColumn());
    CScroll->setValue(0);
    ShowCritPage();
}

void AccountDisplay::EnablePlay() {
    for (int row = 0; row < kVisibleRows; ++row) {
        Play[std::size_t(row)]->setEnabled(true);
        Play[std::size_t(row)]->setText(QStringLiteral("Play"));
        NamePlayButton(row);
    }
}

void AccountDisplay::PlayCharacter(const std::string& name) {
    app.Session.CharacterName = name;
    for (int row = 0; row < kVisibleRows; ++row) {
        Play[std::size_t(row)]->setEnabled(false);
        Play[std::size_t(row)]->setText(QStringLiteral("Wait"));
        NamePlayButton(row);
    }
    app.lodge->SendToServer("AccountLoginGR" + name + "/" + ToWire(app.Machine.MachineIdentifier()));
}

void AccountDisplay::Play_Click(int row) {
    const QString name = CTable.at(std::size_t(6 * row))->text();
    if (name.isEmpty()) return;
    PlayCharacter(ToWire(name));
}

void AccountDisplay::TypeCritPlay_Change() { RefreshView(); }

void AccountDisplay::TypeCritPlay_KeyDown(int keyCode) {
    if (keyCode != 13) return;
    const std::string typed = ToWire(TypeCritPlay->text());
    if (typed.empty()) return;
    PlayCharacter(TypedCharacter(app.Account.CritView, typed));
}

bool AccountDisplay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TypeCritPlay && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            TypeCritPlay_KeyDown(13);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void AccountDisplay::TransferCrit_Click() {
    Dialogs& dialogs = app.platform.dialogs;
    if (!dialogs.Ask(QStringLiteral("If you transfer this crit to another account, unless you own the account, there "
                                    "is no way to get it back. Are you sure you want to do this?")))
        return;
    const std::string character = ToWire(CharacterMove->text());
    if (!app.lodge->SendToServer("AccountTransferCrit" + character + "/" + ToWire(NewAccount->text()))) return;
    TransferCrit->setText(QStringLiteral("Sending"));
    TransferCrit->setEnabled(false);
    if (!dialogs.Ask(QStringLiteral("Delete macros off your computer?"))) return;
    for (const auto& key : CharacterSettingKeys(character)) app.RemoveSetting(FromWire(key));
    // Only names that stay inside the data folder reach the file system.
    for (const auto& file : MacroFileNames(character)) QFile::remove(QDir(app.DataFolder).filePath(FromWire(file)));
}

void AccountDisplay::ABCSort_Click() {
    const int column = SortColumn();
    if (column < 0) return;
    app.SaveSetting(QStringLiteral("Sort"), QString::number(column));
    RefreshView();
}

void AccountDisplay::RefreshCritInfo() {
    // The server sends the whole list again, and a list is added after the rows already held: start afresh.
    app.Account.CritTable = EmptyCritGrid();
    app.lodge->SendToServer("AccountLoad" + ToWire(app.lodge->UserName->text()) + "/" +
                            ToWire(app.lodge->Password->text()));
}

void AccountDisplay::ChangePassword_Click() {
    ChangePasswordDialog dialog(app, this);
    dialog.exec();
}

void AccountDisplay::ChangeEmail_Click() {
    ChangeEmailDialog dialog(app, this);
    dialog.exec();
}

void AccountDisplay::DeleteCharacter_Click() {
    DeleteCharacterDialog dialog(app, this);
    dialog.exec();
}

void AccountDisplay::MakeChar_Click() {
    if (!MakeuserWindow) {
        MakeuserWindow = new Makeuser(app);
        MakeuserWindow->Form_Load();
    }
    hide();
    MakeuserWindow->show();
    MakeuserWindow->raise();
    MakeuserWindow->activateWindow();
}

void AccountDisplay::closeEvent(QCloseEvent* event) {
    // The account manager stands for the application while the login window is hidden.
    event->accept();
    if (app.lodge) app.lodge->CloseComline();
    app.platform.ending.End();
}

} // namespace gr
