#pragma once
// The skin chooser: lists the skins the web host offers ("/grskins/skins.ini") under the built-in look,
// shows the picture of the one selected, and on "Use Skin" downloads its skin file and picture into
// "skins/" (each kept only when whole), stores the "Skin" setting and has the game window apply it at
// once. Keyboard first: the list takes the keys, Enter uses the selected skin, Escape closes.
#include <QDialog>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "skin/SkinList.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace gr {

class Dialogs;
class Downloads;

class SkinChooser final : public QDialog {
    Q_OBJECT
  public:
    // folder: the data folder; apply: the chosen skin file's name ("dusk.skn"; empty for the built-in
    // look), once its files are in place; it stores the setting and applies the look.
    SkinChooser(Downloads& downloads, Dialogs& dialogs, QString folder,
                std::function<void(const QString&)> apply, QWidget* parent = nullptr);

    // Asks the web host for its list again and shows it when it arrives.
    void Refresh();
    void Use_Click();

    QListWidget* SkinListBox = nullptr;
    QLabel* Preview = nullptr;
    QLabel* Description = nullptr;
    QLabel* State = nullptr;
    QPushButton* UseSkin = nullptr;
    QPushButton* CloseButton = nullptr;
    std::vector<SkinListEntry> Offered;

  private:
    void ShowList(const std::vector<SkinListEntry>& skins);
    void Selected();
    void ShowPicture(const std::string& baseName, bool fetchWhenMissing = true);
    void Fetched(const std::string& baseName);

    Downloads& Service;
    Dialogs& Messages;
    QString Folder;
    std::function<void(const QString&)> Apply;
    int Pending = 0; // files of the chosen skin still on their way
    bool PendingBad = false;
    std::string Choosing; // the base name being downloaded for use
};

} // namespace gr
