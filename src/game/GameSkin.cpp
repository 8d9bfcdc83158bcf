// The game window's skin: applied at load from the "Skin" setting, and at once when the player picks one in
// the skin chooser. The skin file is read by the pure loader; here its layout and looks reach the controls.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "app/App.h"
#include "core/SafeName.h"
#include "core/WireText.h"
#include "panels/CommandsPanel.h"
#include "panels/EquipmentPanel.h"
#include "game/Game.h"
#include "panels/MouseActionsPanel.h"
#include "panels/PanelSlot.h"
#include "panels/SpellsPanel.h"
#include "panels/StatusPanel.h"
#include "platform/Dialogs.h"
#include "downloads/PictureDecode.h"
#include "skin/Rescale.h"
#include "skin/SkinChooser.h"
#include "skin/SkinFile.h"
#include "skin/SkinList.h"

namespace gr {

namespace {
QColor FromBgr(std::uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int(bgr >> 8 & 0xFF), int(bgr >> 16 & 0xFF));
}

// A font a skin names: when this system lacks it, a close family stands in (a monospace face for a
// monospace name, a serif for a serif one), so a skin made elsewhere still reads well.
QFont SkinFont(QFont font, const std::string& name) {
    const QString family = FromWire(name);
    const QString lower = family.toLower();
    QStringList families{family};
    if (lower.contains(QLatin1String("mono")) || lower.contains(QLatin1String("courier")) ||
        lower.contains(QLatin1String("console")) || lower.contains(QLatin1String("fixed"))) {
        font.setStyleHint(QFont::Monospace);
        families << QStringLiteral("DejaVu Sans Mono") << QStringLiteral("Monospace");
    } else if ((lower.contains(QLatin1String("serif")) && !lower.contains(QLatin1String("sans"))) ||
               lower.contains(QLatin1String("times")) || lower.contains(QLatin1String("roman")) ||
               lower.contains(QLatin1String("georgia"))) {
        font.setStyleHint(QFont::Serif);
        families << QStringLiteral("DejaVu Serif") << QStringLiteral("Serif");
    } else {
        font.setStyleHint(QFont::SansSerif);
        families << QStringLiteral("DejaVu Sans") << QStringLiteral("Sans Serif");
    }
    font.setFamilies(families);
    return font;
}

// Font name, bold, italic and alignment of one text element; its colour goes by the caller's way.
void ApplyText(QWidget* widget, const SkinText& text) {
    QFont font = widget->font();
    if (text.FontName) font = SkinFont(font, *text.FontName);
    if (text.Bold) font.setBold(*text.Bold);
    if (text.Italic) font.setItalic(*text.Italic);
    widget->setFont(font);
    if (auto* label = qobject_cast<QLabel*>(widget); label && text.Alignment) {
        const Qt::Alignment horizontal = *text.Alignment == TextAlign::Left    ? Qt::AlignLeft
                                         : *text.Alignment == TextAlign::Right ? Qt::AlignRight
                                                                               : Qt::AlignHCenter;
        label->setAlignment(horizontal | Qt::AlignVCenter);
    }
}

void SetTextColour(QWidget* widget, const SkinText& text) {
    if (!text.Colour) return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, FromBgr(*text.Colour));
    widget->setPalette(palette);
    // The panels' labels carry a colour of their own in a style sheet; the skin's replaces it.
    if (!widget->styleSheet().isEmpty())
        widget->setStyleSheet(QStringLiteral("color: %1;").arg(FromBgr(*text.Colour).name()));
}
} // namespace

bool Game::LoadSkin(const QString& fileName) {
    if (!IsSafeFileNamePart(ToWire(fileName))) return false;
    const QDir skins(QDir(app.DataFolder).filePath(QStringLiteral("skins")));
    QFile file(skins.filePath(fileName));
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.read(qint64(kMaxSkinFileBytes) + 1);
    QImage background;
    const SkinOutcome outcome = ApplySkin(
        std::string_view(bytes.constData(), std::size_t(bytes.size())), Layout, [&](std::string_view name) {
            QFile picture(skins.filePath(FromWire(std::string(name))));
            if (!picture.open(QIODevice::ReadOnly)) return false;
            background = DecodePicture(picture.read(qint64(kMaxSkinPictureBytes) + 1), kMaxSkinPictureSide);
            return !background.isNull();
        });
    Layout = outcome.Layout;
    if (outcome.Look.MainBack && !background.isNull()) SetBackground(background);
    ApplyLook(outcome.Look);
    SkinApplied = true;
    PlaceControls();
    if (outcome.Failure)
        app.platform.dialogs.Message(
            QString::fromLatin1(kSkinFormatMessage.data(), qsizetype(kSkinFormatMessage.size())));
    return true;
}

void Game::ApplyLook(const SkinLook& look) {
    for (std::size_t k = 0; k < look.Captions.size(); ++k) {
        const SkinText& caption = look.Captions[k];
        if (caption.FontSize) Status->CaptionPoints[k] = *caption.FontSize;
        if (look.Data[k].FontSize) Status->DataPoints[k] = *look.Data[k].FontSize;
        ApplyText(Status->Captions[k], caption);
        SetTextColour(Status->Captions[k], caption);
        if (caption.Caption) {
            Status->Captions[k]->setText(FromWire(*caption.Caption));
            Status->Captions[k]->setVisible(!caption.Caption->empty());
        }
        ApplyText(Status->Data[k], look.Data[k]);
        SetTextColour(Status->Data[k], look.Data[k]);
    }
    for (std::size_t i = 0; i < look.SpellNameN.size(); ++i) {
        if (look.SpellNameN[i].FontSize)
            SetDesignPoints(SpellPanel->SpellNameN[i], *look.SpellNameN[i].FontSize);
        ApplyText(SpellPanel->SpellNameN[i], look.SpellNameN[i]);
        SetTextColour(SpellPanel->SpellNameN[i], look.SpellNameN[i]);
    }
    for (std::size_t i = 0; i < look.EquippedName.size(); ++i) {
        if (look.EquippedName[i].FontSize)
            SetDesignPoints(EquipPanel->EquippedName[i], *look.EquippedName[i].FontSize);
        ApplyText(EquipPanel->EquippedName[i], look.EquippedName[i]);
        SetTextColour(EquipPanel->EquippedName[i], look.EquippedName[i]);
    }
    for (std::size_t i = 0; i < look.Com.size(); ++i) {
        if (look.Com[i].FontSize) SetDesignPoints(ComPanel->Com[i], *look.Com[i].FontSize);
        ApplyText(ComPanel->Com[i], look.Com[i]);
        ComPanel->SetCaptionFont(i, ComPanel->Com[i]->font());
        if (look.Com[i].Colour) {
            const QColor back = FromBgr(*look.Com[i].Colour);
            const QColor text =
                back.lightnessF() > 0.55 ? QColor(0x10, 0x08, 0x1c) : QColor(0xf3, 0xe9, 0xd2);
            ComPanel->Com[i]->setStyleSheet(
                QStringLiteral("QPushButton { background: %1; color: %2; border: 1px solid %3;"
                               " border-radius: 4px; }")
                    .arg(back.name(), text.name(), back.lighter(140).name()));
        }
    }
    SpellPanel->SetSkinFrames(look.SpellButtonR, look.SpellButtonB);
    MousePanel->SetSkinFrames(look.ButtonMousePicR, look.ButtonMousePicB);
    for (std::size_t k = 0; k < look.Bar.size(); ++k)
        if (look.Bar[k]) Status->Bar[k]->SetColour(*look.Bar[k]);
    for (std::size_t k = 0; k < look.BarColours.size(); ++k)
        if (look.BarColours[k]) BarColours[k] = *look.BarColours[k];
    // The new families and styles take the scaled sizes at the next placing.
    for (ScaledFont& f : ScaledFonts)
        f.Shown = 0;
}

void Game::SetDesignPoints(QWidget* widget, double points) {
    for (ScaledFont& f : ScaledFonts)
        if (f.Widget == widget) {
            f.DesignPoints = points;
            f.Shown = 0;
            return;
        }
    ScaledFonts.push_back({widget, points});
}

void Game::ScaleFonts(int width) {
    if (width <= 0) return;
    const double ratio = kDesignWidth / width;
    for (ScaledFont& f : ScaledFonts) {
        const int points = std::max(1, RescaledFontSize(f.DesignPoints, ratio));
        if (points == f.Shown) continue; // a font change lays the control out again: only when it differs
        f.Shown = points;
        const auto com = std::find(ComPanel->Com.begin(), ComPanel->Com.end(), f.Widget);
        if (com != ComPanel->Com.end()) {
            QFont font = ComPanel->CaptionFontOf(std::size_t(com - ComPanel->Com.begin()));
            font.setPointSize(points);
            ComPanel->SetCaptionFont(std::size_t(com - ComPanel->Com.begin()), font);
        } else {
            QFont font = f.Widget->font();
            font.setPointSize(points);
            f.Widget->setFont(font);
        }
    }
}

void Game::Skins_Click() {
    if (!SkinWindow) {
        SkinWindow = std::make_unique<SkinChooser>(
            app.Downloader(), app.platform.dialogs, app.DataFolder,
            [this](const QString& file) { ChooseSkin(file); }, this);
        WatchWindow(SkinWindow.get());
    }
    SkinWindow->Refresh();
    SkinWindow->show();
    SkinWindow->raise();
    SkinWindow->activateWindow();
}

void Game::ChooseSkin(const QString& fileName) {
    app.SaveSetting(QStringLiteral("Skin"), fileName);
    if (!fileName.isEmpty()) {
        // The chosen skin replaces the look at once, over the built-in layout.
        Layout = DefaultGameLayout();
        LoadSkin(fileName);
        return;
    }
    if (!SkinApplied) return;
    // Back to the built-in look: the places and the background at once; the fonts and colours a skin set
    // come back with the next start.
    Layout = DefaultGameLayout();
    SetBackground(QImage());
    PlaceControls();
    app.platform.dialogs.Message(QStringLiteral("Reload Gloamrest for the changes to take effect."));
}

} // namespace gr
