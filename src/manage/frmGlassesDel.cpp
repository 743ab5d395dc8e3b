#include "manage/frmGlassesDel.h"

#include "platform/CheckList.h"
#include "platform/Text1252.h"
#include "shell/CSWindow.h"

std::string GlassItemText(const std::string& name, const std::string& source) {
    return TrimBlanks(name) + "/" + TrimBlanks(source);
}

frmGlassesDel::frmGlassesDel(SetGlassesFn setGlasses) : m_setGlasses(std::move(setGlasses)) {}

bool frmGlassesDel::Display(std::span<const GlassRecord> glasses, int first, int last) {
    m_result = false;
    m_glasses.assign(glasses.begin(), glasses.end());
    m_first = first;
    m_last = last;
    if (!m_view) return false;
    formLoad();
    m_view->showModal();
    return m_result;
}

void frmGlassesDel::formLoad() {
    CSWindow().Center(m_view->placement());
    ICheckList& list = m_view->lstGlasses();
    list.clear();
    for (std::size_t i = 0; i < m_glasses.size(); ++i) {
        GlassDefinition& d = m_glasses[i].definition;
        d.name.set(d.name.str());
        d.source.set(d.source.str());
        const int item = list.addItem(GlassItemText(d.name.str(), d.source.str()));
        const int row = static_cast<int>(i) + 1;
        if (row >= m_first && row <= m_last) list.setChecked(item, true);
    }
}

void frmGlassesDel::comDelSel_Click() {
    if (!m_view) return;
    const ICheckList& list = m_view->lstGlasses();
    std::vector<GlassRecord> kept;
    for (std::size_t i = 0; i < m_glasses.size(); ++i)
        if (!list.checked(static_cast<int>(i))) kept.push_back(m_glasses[i]);
    m_result = kept.size() < m_glasses.size();
    if (m_result) {
        m_glasses = std::move(kept);
        if (m_setGlasses) m_setGlasses(m_glasses);
    }
    m_view->closeWindow();
}

void frmGlassesDel::comCancel_Click() {
    m_result = false;
    if (m_view) m_view->closeWindow();
}
