// What the main window does, apart from drawing it: its caption, the
// installed-program panels, the ribbon and its rule for the page buttons, the
// wallpaper draw, the material pop-up menu with duplicate and delete, and
// the size it keeps. The window (qt/frmMainMDI) shows the results.
#pragma once

#include <array>
#include <functional>
#include <random>
#include <string>
#include <string_view>

#include "model/GlassRecord.h"
#include "platform/Colour.h"
#include "shell/ManageForms.h"
#include "shell/ToolRibbon.h"

class GlassesList;
class IBoxes;

inline constexpr Colour kHeaderColour = 0x5AD1A8;  // header, ribbon and list window
inline constexpr Colour kClientColour = 0xE4FAFE;  // the client area before the first wallpaper
inline constexpr Colour kFoundColour = 0x00FF00;
inline constexpr Colour kNotFoundColour = 0x0000FF;

// The smallest size of the main window in its normal state, twips.
inline constexpr double kMinMainWidthTwips = 9000;
inline constexpr double kMinMainHeightTwips = 7000;

inline constexpr int kWallpaperCount = 8;
inline constexpr int kWallpaperWidth = 400;  // pixels
inline constexpr int kWallpaperHeight = 300;

inline constexpr const char* kDuplicatePrompt =
    "Enter NEW name for glass. [you will not be allowed to use an existing name/source combination]";
// Asks for the name of a copy until the store allows it (a refused name is
// simply asked for again) and gives copy that name. False, copy's name as it
// was, on Cancel or an answer of blanks only.
bool AskDuplicateName(IBoxes& boxes, const GlassesList& store, GlassRecord& copy);

enum PopupItem : int { kPopupDuplicate = 0, kPopupEdit = 1, kPopupDelete = 2 };
enum InstalledPanel : int { kPanelVQ = 0, kPanelLQP = 1, kPanelLQTol = 2 };

// "Harvenne - Kalvenor for Lumivar & VitrarchQX:   " & versionText.
std::string MainWindowCaption(const std::string& versionText);

struct PanelLook {
    Colour back;
    std::string caption;
};
PanelLook InstalledPanelLook(int panel, bool found);

// The ribbon buttons' tool tips: 1..7 the pages, 0 the End button.
std::string RibbonToolTip(int index);

// Doubles every "&", so that a menu shows the text as typed instead of
// taking a letter of it as the item's access key.
std::string EscapeMnemonic(std::string_view text);

// Rnd: a number in [0, 1).
class IRandom {
public:
    virtual ~IRandom() = default;
    virtual double Rnd() = 0;
};

class SystemRandom : public IRandom {
public:
    SystemRandom();
    double Rnd() override;

private:
    std::mt19937 m_engine;
};

// The next wallpaper: drawn as round(Rnd * count) + 1 (halves to even) until
// it names a picture other than current. With one picture that picture,
// with none 0; the draw always ends.
int PickWallpaper(int current, int count, IRandom& random);
// The back colour that follows a wallpaper: palette entry Int(Rnd * 14) + 1.
int WallpaperBackColourIndex(IRandom& random);
// The 16-colour palette (0 black .. 15 bright white).
Colour QBColor(int index);

// What the logic needs of the main window itself.
class IMainView {
public:
    virtual ~IMainView() = default;
    virtual int wallpaperCount() const = 0;
    // Composes picture (1-based) centred on the present back colour, then
    // takes nextBackColour as the back colour.
    virtual void PaintWallpaper(int picture, Colour nextBackColour) = 0;
    virtual void restorePointer() = 0;
};

class MainMDILogic : public ISwitcherHost {
public:
    MainMDILogic(GlassesList& store, IBoxes& boxes, ManageForms& forms, IRandom& random);

    void setView(IMainView* view) { m_view = view; }
    ToolRibbon& ribbon() { return m_ribbon; }
    const ToolRibbon& ribbon() const { return m_ribbon; }

    // Page buttons 2..7 are enabled exactly when the first run is over and
    // their page is built.
    void EnableTools(bool firstLoad);
    // Told after the Setup page's button changed, so EnableTools can follow.
    void setFirstLoadSource(std::function<bool()> firstLoad) { m_firstLoad = std::move(firstLoad); }

    // The material pop-up menu. PrepForPopup remembers the material and
    // captions the items; an action on an index that no longer names a
    // record does nothing.
    void PrepForPopup(int nGlass, const std::string& szGlass);
    int popupGlass() const { return m_popupGlass; }
    // The caption as the menu shows it ("&" marks the access key).
    const std::string& popupCaption(int item) const;
    bool popupItemEnabled(int item) const;
    void PopupClick(int item);
    // Opens the editor (or the melt maker for a melt glass) on a copy of the
    // record; until one is set the Edit item is disabled.
    void setEditHandler(std::function<void(const GlassRecord&)> edit) { m_edit = std::move(edit); }

    // Each asks, and changes the collection, rewrites its file and refreshes
    // the list only at its end. True when the collection was changed.
    bool DeleteGlass(int nGlass);
    bool DuplicateGlass(int nGlass);

    void UpdateWallPaper() override;
    int currentWallpaper() const { return m_currentWallpaper; }

    // ISwitcherHost
    bool ribbonDown(int page) const override { return m_ribbon.isDown(page); }
    void raiseRibbon(int page) override { m_ribbon.setDown(page, false); }
    void restorePointer() override;

private:
    void ribTools_Click(int index, bool down);
    void storeCollection(const std::vector<GlassRecord>& glasses);

    GlassesList& m_store;
    IBoxes& m_boxes;
    ManageForms& m_forms;
    IRandom& m_random;
    IMainView* m_view = nullptr;
    ToolRibbon m_ribbon;
    std::function<bool()> m_firstLoad;
    std::function<void(const GlassRecord&)> m_edit;
    int m_popupGlass = 0;
    std::array<std::string, 3> m_popupCaptions{"&Duplicate   ", "&Edit", "De&lete"};
    int m_currentWallpaper = 0;
};
