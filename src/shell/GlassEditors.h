// The two editors as the pages that open them see them: the editor (frm3New)
// and the melt maker (frm7Melt). A material whose melt flag is set opens in
// the melt maker, any other in the editor, from the list window's pop-up
// menu, the Manage page and the Import page alike.
#pragma once

#include <functional>

#include "model/GlassRecord.h"

// The window that opened an editor: disabled while the editor is open,
// enabled and brought to the front when it closes.
class ICallerWindow {
public:
    virtual ~ICallerWindow() = default;
    virtual void setEnabled(bool enabled) = 0;
    virtual void bringToFront() = 0;
};

class IGlassEditor {
public:
    virtual ~IGlassEditor() = default;
    // Opens on a copy of glass; the caller's record is never written.
    virtual void DisplayEdit(ICallerWindow& frmCaller, const GlassRecord& glass) = 0;
    // The same, read-only.
    virtual void DisplayReview(ICallerWindow& frmCaller, const GlassRecord& glass) = 0;
};

class GlassEditors {
public:
    void setEditor(IGlassEditor* editor) { m_editor = editor; }
    void setMeltMaker(IGlassEditor* meltMaker) { m_meltMaker = meltMaker; }

    // The window that opens glass, by its melt flag; null while it is not built.
    IGlassEditor* editorFor(const GlassRecord& glass) const {
        return glass.melt.meltFlag != 0 ? m_meltMaker : m_editor;
    }
    // False (and nothing opens) while the window for glass is not built.
    bool DisplayEdit(ICallerWindow& frmCaller, const GlassRecord& glass) const {
        IGlassEditor* e = editorFor(glass);
        if (e) e->DisplayEdit(frmCaller, glass);
        return e != nullptr;
    }
    bool DisplayReview(ICallerWindow& frmCaller, const GlassRecord& glass) const {
        IGlassEditor* e = editorFor(glass);
        if (e) e->DisplayReview(frmCaller, glass);
        return e != nullptr;
    }

    // frm2Manage.UpdatesGlasssAftEdit, set by the Manage page while it exists;
    // the editors call it after saving an edit started from that page.
    void setManageUpdate(std::function<void()> update) { m_manageUpdate = std::move(update); }
    void UpdatesGlasssAftEdit() const {
        if (m_manageUpdate) m_manageUpdate();
    }

private:
    IGlassEditor* m_editor = nullptr;
    IGlassEditor* m_meltMaker = nullptr;
    std::function<void()> m_manageUpdate;
};
