#pragma once
// The account manager: the account's characters in a grid of eleven rows with a Play button each, a
// scroll bar, sorting, playing by typed name, transferring a character to another account, and the
// account dialogs.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace gr {

class App;
class Makeuser;

class AccountDisplay : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kVisibleRows = 11;
    static constexpr const char* kColumnNames[6] = {"Name", "Level", "Race", "Class", "Gender", "Last Played"};

    explicit AccountDisplay(App& app);

    // Shows CritView from the scroll bar's row on.
    void ShowCritPage();
    // Rebuilds CritView from CritTable with the typed filter and the chosen sort, back at the top.
    void RefreshView();
    void Play_Click(int row);
    void TypeCritPlay_Change();
    void TypeCritPlay_KeyDown(int keyCode);
    void TransferCrit_Click();
    void ABCSort_Click();
    void RefreshCritInfo();
    void ChangePassword_Click();
    void ChangeEmail_Click();
    void DeleteCharacter_Click();
    // Opens character creation in place of this window, which comes back when creation closes.
    void MakeChar_Click();
    // The server's notice or refusal: every Play button usable again.
    void EnablePlay();
    // The transfer's answer, success or refusal: the transfer button usable again.
    void EnableTransfer();
    // In front and taking the keys, the focus in the play-by-name box.
    void TakeKeyboard();
    // Enters the game with the character: the Play buttons wait, the play request goes out.
    void PlayCharacter(const std::string& name);

    std::array<QLabel*, kVisibleRows * 6> CTable{};
    std::array<QPushButton*, kVisibleRows> Play{};
    std::array<QLabel*, kVisibleRows> CritPortrait{}; // the row's portrait, where it is known
    QScrollBar* CScroll = nullptr;
    QComboBox* ABC = nullptr;
    QPushButton* ABCSort = nullptr;
    QLineEdit* TypeCritPlay = nullptr;
    QLineEdit* CharacterMove = nullptr;
    QLineEdit* NewAccount = nullptr;
    QPushButton* TransferCrit = nullptr;
    QPushButton* ChangePassword = nullptr;
    QPushButton* ChangeEmail = nullptr;
    QPushButton* DeleteCharacter = nullptr;
    QPushButton* RefreshCrit = nullptr;
    QPushButton* MakeChar = nullptr;
    QPointer<Makeuser> MakeuserWindow; // while character creation is open

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    int SortColumn() const;
    // A Play button is read out with its row's character.
    void NamePlayButton(int row);
    void ShowPortrait(int row);

    App& app;
    bool WatchingPictures = false;
};

} // namespace gr
