#pragma once
// The character-creation window: on the first page the player types a name, which is checked here and then
// by the server; once the server accepts it, the second page offers race, gender, class and portrait,
// rolls of the stats until the player is satisfied, and Finish. The server's "GenerateUser" answers come
// through the login-phase dispatcher to GenerateUser_Answer. A human check is shown at random instead of
// a roll. Closing the window, by Cancel or otherwise, shows the account manager again.
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QWidget>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "character/CharacterTables.h"
#include "character/HumanCheck.h"
#include "character/StatsIn.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
class QTimer;

namespace gr {

class App;

// The window's two pages, one shown at a time; the window takes the size of the page shown.
class PageStack : public QWidget {
    Q_OBJECT
  public:
    explicit PageStack(QWidget* parent = nullptr);
    void addWidget(QWidget* page);
    void setCurrentIndex(int index);
    void setCurrentWidget(QWidget* page);
    int currentIndex() const { return Current; }
    QWidget* currentWidget() const;
    QWidget* widget(int index) const;

  private:
    QVBoxLayout* Layout = nullptr;
    std::vector<QWidget*> List;
    int Current = -1;
};

// A frame that tells when it is clicked itself (not a control inside it): the human check's frame.
class ClickFrame : public QFrame {
    Q_OBJECT
  public:
    using QFrame::QFrame;
  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// The rolled stats drawn as grids of squares from the digit glyphs; the values are its accessible name.
class StatsPictureBox : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kSquare = 4; // pixels per square
    explicit StatsPictureBox(QWidget* parent = nullptr);
    void Draw(const DigitGlyphTable& glyphs, const StatsRoll& roll);
    void Clear();
    const std::vector<std::uint8_t>& Cells() const { return Picture; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<std::uint8_t> Picture;
};

// A portrait that chooses itself when clicked.
class PortraitLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;
  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
};

class Makeuser : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kRerollRefreshMs = 5000;

    explicit Makeuser(App& app);
    ~Makeuser() override;

    void Form_Load();
    void Nxt_Click();
    void Cancel_Click();
    void Race_Click(int index);
    void Male_Click();
    void Female_Click();
    void HavePic_Click(int index);
    void Reroll_Click();
    void RerollRefresh_Timer();
    void SubmitAll_Click();
    void Letters_Click(int index);
    void Squares_Click();
    void TextInfo_Click();
    void RequestReroll();
    void ShowHumanCheck();
    // The text after "GenerateUser".
    void GenerateUser_Answer(std::string_view text);
    // Redraws the portraits that show this picture (it has just arrived).
    void PictureArrived(int number);

    // The chosen race, class and portrait: the first chosen button's index, -1 when none.
    int ChosenRace() const;
    int ChosenClass() const;
    int ChosenPortrait() const;

    PageStack* Pages = nullptr;
    QLineEdit* Nameuser = nullptr;
    QPushButton* Nxt = nullptr;
    std::array<QPushButton*, 2> Cancel{};
    QLabel* NameShown = nullptr;
    std::array<QRadioButton*, kRaceCount> Race{};
    std::array<QRadioButton*, kClassCount> Class{};
    QRadioButton* Male = nullptr;
    QRadioButton* Female = nullptr;
    std::array<QLabel*, kStatCount> MaxStats{};
    std::array<QLabel*, kStatCount> RolledStats{}; // the rolled values as text
    StatsPictureBox* Stats = nullptr;
    QPushButton* Reroll = nullptr;
    QTimer* RerollRefresh = nullptr;
    QPushButton* SubmitAll = nullptr;
    std::array<PortraitLabel*, kPortraitCount> HavePic{};
    std::array<QRadioButton*, kPortraitCount> HavePicSelect{};
    ClickFrame* Squares = nullptr;
    QLabel* TextInfo = nullptr;
    std::array<QPushButton*, kHumanCheckAnswers> Letters{};

    int HumanCheckPending = 0; // 1 while the human check is shown
    int CorrectAnswer = 0;
    DigitGlyphTable DigitGlyphs{};

  public slots:
    // Escape and the window's close button leave as Cancel does.
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildNamePage();
    void BuildRollPage();
    void BuildHumanCheck(QWidget* page);
    void UsernameNotAccepted();
    void UsernameAccepted();
    void StatsIn(const StatsRoll& roll);
    void SetClassesEnabled(bool enabled);
    void SendRoll();
    void ShowPortrait(int index);
    bool Send(const std::string& message);

    App& app;
    QButtonGroup* RaceGroup = nullptr;
    QButtonGroup* ClassGroup = nullptr;
    QButtonGroup* PortraitGroup = nullptr;
    QWidget* RollPage = nullptr;
    bool Verifying = false; // the name is with the server
    bool Closed = false;
};

} // namespace gr
