#include "shell/MainMDILogic.h"

#include <cmath>

#include "model/FixedText.h"
#include "model/GlassesList.h"
#include "platform/Boxes.h"

std::string MainWindowCaption(const std::string& versionText) {
    return std::string("Harvenne") + " - Kalvenor for Lumivar & VitrarchQX:   " + versionText;
}

PanelLook InstalledPanelLook(int panel, bool found) {
    static const char* const kNames[] = {" VitrarchQX", " Lumivar3D", " DazirireraVI"};
    if (panel < 0 || panel > 2) return {kNotFoundColour, ""};
    return {found ? kFoundColour : kNotFoundColour,
            std::string(kNames[panel]) + (found ? " found" : " not found")};
}

std::string RibbonToolTip(int index) {
    switch (index) {
    case 0: return "End Kalvenor";
    case 1: return "Confirm paths to LumivarPlus & Vitrarch";
    case 2: return "List, edit & delete materials in local database, plus update LumivarPlus/Tol & Vitrarch.";
    case 3: return "Create new optical material";
    case 4: return "Import data from text files [selected formats]";
    case 5: return "Backup materials in local list to text file [Kalvenor format]";
    case 6: return "Archive/restore any glasses in Vitrarch database";
    case 7: return "Make melt derivative of existing glass";
    default: return "";
    }
}

std::string EscapeMnemonic(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '&') out += '&';
    }
    return out;
}

SystemRandom::SystemRandom() : m_engine(std::random_device{}()) {}

double SystemRandom::Rnd() { return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine); }

int PickWallpaper(int current, int count, IRandom& random) {
    if (count <= 0) return 0;
    if (count == 1) return 1;
    // Draws that miss are rare; a bound keeps a faulty source from hanging.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const int k = static_cast<int>(std::nearbyint(random.Rnd() * count)) + 1;
        if (k >= 1 && k <= count && k != current) return k;
    }
    return current >= 1 && current < count ? current + 1 : 1;
}

int WallpaperBackColourIndex(IRandom& random) {
    const int k = static_cast<int>(std::floor(random.Rnd() * 14)) + 1;
    return k < 1 ? 1 : (k > 14 ? 14 : k);
}

Colour QBColor(int index) {
    static constexpr Colour kPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                            0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                            0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    return kPalette[index < 0 ? 0 : (index > 15 ? 15 : index)];
}

MainMDILogic::MainMDILogic(GlassesList& store, IBoxes& boxes, ManageForms& forms, IRandom& random)
    : m_store(store), m_boxes(boxes), m_forms(forms), m_random(random), m_ribbon(kWorkPageCount) {
    m_ribbon.setHandler([this](int index, bool down) { ribTools_Click(index, down); });
    m_forms.setHost(this);
}

void MainMDILogic::ribTools_Click(int index, bool down) {
    m_forms.SwitchPage(index, down);
    if (index == kPageSetup && m_firstLoad) EnableTools(m_firstLoad());
}

void MainMDILogic::EnableTools(bool firstLoad) {
    for (int p = kPageManage; p <= kWorkPageCount; ++p) {
        m_ribbon.setEnabled(p, !firstLoad && m_forms.page(p) != nullptr);
    }
}

void MainMDILogic::PrepForPopup(int nGlass, const std::string& szGlass) {
    m_popupGlass = nGlass;
    m_popupCaptions[kPopupDuplicate] = "&Duplicate   " + EscapeMnemonic(szGlass);
    m_popupCaptions[kPopupEdit] = "&Edit";
    m_popupCaptions[kPopupDelete] = "De&lete";
}

const std::string& MainMDILogic::popupCaption(int item) const {
    static const std::string none;
    return item >= 0 && item <= 2 ? m_popupCaptions[static_cast<std::size_t>(item)] : none;
}

bool MainMDILogic::popupItemEnabled(int item) const {
    return item == kPopupEdit ? static_cast<bool>(m_edit) : (item == kPopupDuplicate || item == kPopupDelete);
}

void MainMDILogic::PopupClick(int item) {
    GlassRecord glass;
    if (!m_store.GetGlass(m_popupGlass, glass)) return;
    switch (item) {
    case kPopupDuplicate: DuplicateGlass(m_popupGlass); break;
    case kPopupEdit:
        if (m_edit) m_edit(glass);
        break;
    case kPopupDelete: DeleteGlass(m_popupGlass); break;
    default: break;
    }
}

bool MainMDILogic::DeleteGlass(int nGlass) {
    std::vector<GlassRecord> glasses = m_store.GetGlasses();
    if (nGlass < 1 || nGlass > static_cast<int>(glasses.size())) return false;
    const GlassDefinition& def = glasses[static_cast<std::size_t>(nGlass - 1)].definition;
    const std::string question =
        "Are you sure that you wish to delete " + def.name.str() + " - " + def.source.str() + "?";
    if (m_boxes.show(kBoxQuestionYesNo, question, kAppTitle) != kAnswerYes) return false;
    glasses.erase(glasses.begin() + (nGlass - 1));
    storeCollection(glasses);
    return true;
}

bool AskDuplicateName(IBoxes& boxes, const GlassesList& store, GlassRecord& copy) {
    GlassRecord named = copy;
    for (;;) {
        const std::string answer = boxes.input(kDuplicatePrompt, kAppTitle, named.definition.name.str());
        // Only blanks would make a material without a name: taken as Cancel.
        if (TrimBlanks(answer).empty()) return false;
        // The name field holds 30 characters; the check must see what is stored.
        named.definition.name.set(answer);
        std::string msg;
        if (store.CheckNameAllowed(named, true, msg)) break;
    }
    copy = named;
    return true;
}

bool MainMDILogic::DuplicateGlass(int nGlass) {
    std::vector<GlassRecord> glasses = m_store.GetGlasses();
    if (nGlass < 1 || nGlass > static_cast<int>(glasses.size())) return false;
    GlassRecord copy = glasses[static_cast<std::size_t>(nGlass - 1)];
    if (!AskDuplicateName(m_boxes, m_store, copy)) return false;
    glasses.insert(glasses.begin() + nGlass, copy);
    storeCollection(glasses);
    return true;
}

void MainMDILogic::storeCollection(const std::vector<GlassRecord>& glasses) {
    m_store.SetGlasses(glasses);
    m_store.SaveUserGlasses();
    m_store.RefreshListWindow();
}

void MainMDILogic::UpdateWallPaper() {
    if (!m_view) return;
    const int k = PickWallpaper(m_currentWallpaper, m_view->wallpaperCount(), m_random);
    if (k == 0) return;
    m_currentWallpaper = k;
    m_view->PaintWallpaper(k, QBColor(WallpaperBackColourIndex(m_random)));
}

void MainMDILogic::restorePointer() {
    if (m_view) m_view->restorePointer();
}
