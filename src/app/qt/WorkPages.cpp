#include "app/qt/WorkPages.h"

#include "editor/frm3New.h"
#include "editor/popEditParamWave.h"
#include "editor/qt/frm3NewWindow.h"
#include "editor/qt/popEditParamWaveWindow.h"
#include "exchange/qt/frm4ImportWindow.h"
#include "exchange/qt/frm5ExportWindow.h"
#include "manage/qt/frm2ManageWindow.h"
#include "manage/qt/frm6ArchiveWindow.h"
#include "melt/qt/frm7MeltWindow.h"
#include "shell/AMain.h"
#include "shell/GlassEditors.h"
#include "shell/ManageForms.h"
#include "shell/qt/frmMainMDI.h"

namespace {

// A page that is one object.
template <class Page>
class MadePage : public MadeWorkPage {
public:
    explicit MadePage(std::unique_ptr<Page> page) : m_page(std::move(page)) {}
    Page* get() const { return m_page.get(); }

private:
    std::unique_ptr<Page> m_page;
};

template <class Page, class... Args>
std::unique_ptr<MadeWorkPage> makeWorkPage(const WorkPageContext& c, int number, Args&&... args) {
    auto page = std::make_unique<Page>(c.app, c.area, std::forward<Args>(args)...);
    c.app.forms().setPage(number, page.get());
    return std::make_unique<MadePage<Page>>(std::move(page));
}

// The one wavelength picker of the run, which the editor and the melt maker
// share; made by the first of them to be made.
struct SharedPicker {
    std::shared_ptr<popEditParamWave> picker;
    std::shared_ptr<popEditParamWave> get(const WorkPageContext& c) {
        if (!picker)
            picker = std::make_shared<popEditParamWave>(c.app.hints(), popEditParamWaveWindow::Maker(c.window));
        return picker;
    }
};

// The editor: its logic, its window and the picker it opens.
class MadeEditor : public MadeWorkPage {
public:
    MadeEditor(const WorkPageContext& c, std::shared_ptr<popEditParamWave> picker)
        : m_picker(std::move(picker)),
          m_editor(std::make_unique<frm3New>(c.app.store(), c.app.forms(), c.app.editors(), c.app.boxes(),
                                             c.app.cursor(), c.clipboard)) {
        m_editor->setWavelengthPicker([p = m_picker.get()](int& n, float& w, std::vector<float>& ws, int tab) {
            return p->Display(n, w, ws, tab);
        });
        m_window = new frm3NewWindow(*m_editor);
        m_window->addToArea(c.area);
        c.app.forms().setPage(kPageNew, m_editor.get());
        c.app.editors().setEditor(m_editor.get());
    }
    ~MadeEditor() override {
        // The window before the page logic it refers to.
        if (m_window) m_window->setParent(nullptr);
        delete m_window;
    }
    MadeEditor(const MadeEditor&) = delete;
    MadeEditor& operator=(const MadeEditor&) = delete;

    frm3NewWindow* window() const { return m_window; }

private:
    std::shared_ptr<popEditParamWave> m_picker;
    std::unique_ptr<frm3New> m_editor;
    frm3NewWindow* m_window = nullptr;
};

// The melt maker, with the picker it shares with the editor.
class MadeMelt : public MadeWorkPage {
public:
    MadeMelt(const WorkPageContext& c, std::shared_ptr<popEditParamWave> picker)
        : m_picker(std::move(picker)),
          m_page(std::make_unique<MeltWorkPage>(c.app, c.area, c.clipboard, m_picker.get())) {
        c.app.forms().setPage(kPageMelt, &m_page->page());
        c.app.editors().setMeltMaker(&m_page->page());
    }
    MeltWorkPage* get() const { return m_page.get(); }

private:
    std::shared_ptr<popEditParamWave> m_picker;
    std::unique_ptr<MeltWorkPage> m_page;
};

template <class Made>
Made* madeAs(const frmMainMDI& window, int page) {
    return dynamic_cast<Made*>(window.madePage(page));
}

template <class Page>
Page* pageOf(const frmMainMDI& window, int page) {
    auto* made = madeAs<MadePage<Page>>(window, page);
    return made ? made->get() : nullptr;
}

}  // namespace

WorkPageTable KalvenorWorkPages() {
    auto picker = std::make_shared<SharedPicker>();
    return {
        {kPageArchive, [](const WorkPageContext& c) { return makeWorkPage<ArchiveWorkPage>(c, kPageArchive); }},
        {kPageManage,
         [](const WorkPageContext& c) { return makeWorkPage<ManageWorkPage>(c, kPageManage, c.helpNote); }},
        {kPageImport,
         [](const WorkPageContext& c) { return makeWorkPage<ImportWorkPage>(c, kPageImport, c.helpNote); }},
        {kPageExport, [](const WorkPageContext& c) { return makeWorkPage<ExportWorkPage>(c, kPageExport); }},
        {kPageNew,
         [picker](const WorkPageContext& c) -> std::unique_ptr<MadeWorkPage> {
             return std::make_unique<MadeEditor>(c, picker->get(c));
         }},
        {kPageMelt,
         [picker](const WorkPageContext& c) -> std::unique_ptr<MadeWorkPage> {
             return std::make_unique<MadeMelt>(c, picker->get(c));
         }},
    };
}

// The main window's pages as made here, for the window tests.
frm3NewWindow* frmMainMDI::editorWindow() const {
    auto* made = madeAs<MadeEditor>(*this, kPageNew);
    return made ? made->window() : nullptr;
}
ArchiveWorkPage* frmMainMDI::archivePage() const { return pageOf<ArchiveWorkPage>(*this, kPageArchive); }
ManageWorkPage* frmMainMDI::managePage() const { return pageOf<ManageWorkPage>(*this, kPageManage); }
ImportWorkPage* frmMainMDI::importPage() const { return pageOf<ImportWorkPage>(*this, kPageImport); }
ExportWorkPage* frmMainMDI::exportPage() const { return pageOf<ExportWorkPage>(*this, kPageExport); }
MeltWorkPage* frmMainMDI::meltPage() const {
    auto* made = madeAs<MadeMelt>(*this, kPageMelt);
    return made ? made->get() : nullptr;
}
