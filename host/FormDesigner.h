// The form designer: one form being designed, the components on it, the
// selection, the edits a person makes and their undo history, and the design
// mode that keeps input away from the components.
//
// Design mode: the form and everything it owns are csDesigning. Mouse input on
// them goes to the designer, which selects the component under the pointer,
// runs its component editor's Edit on a double-click and offers its verbs on a
// right click, unless the control answers CM_DESIGNHITTEST with 1 (then the
// control gets the message as at run time). The environment may take the left
// button's messages first (SetOnMouse: dragging, banding, sizing). Key input
// meant for them goes to the designer too: its own keys (KeyDown) and then the
// environment's.
//
// Every change of the designed form ends in Modified(). That is the contract
// with everything that changes the form (property editors through
// SetOrdValue, component editors' verbs, dialogs, and the designer's own
// edits): Modified() compares the form's stored bytes with those after the
// last change and, when they differ, records one undo step holding both, with
// the selection before and after. Undo and Redo bring back the stored bytes
// exactly (the components are read again from them), so any kind of change
// can be undone without code of its own. A change that forgot Modified() is
// recorded the next time one is reported or an undo is asked for.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/DesignHistory.h"
#include "host/DesignRegistry.h"
#include "host/DesignSelection.h"

namespace ld {

class THostFormDesigner : public TFormDesigner, private TDesignStateTarget {
public:
    // Designs a new empty form named FormName.
    explicit THostFormDesigner(const TDesignRegistry& registry, const std::string& formName = "Form1");
    // Frees the form and everything on it.
    ~THostFormDesigner() override;
    THostFormDesigner(const THostFormDesigner&) = delete;
    THostFormDesigner& operator=(const THostFormDesigner&) = delete;

    // Designs the form stored in Data (a form file, binary or text). The
    // classes it names must be registered (EClassNotFound otherwise).
    static std::unique_ptr<THostFormDesigner> Open(const TDesignRegistry& registry, std::string_view data);
    // The form as a form file: the binary stream with its resource header, or the text form.
    std::string Save(bool asText);
    // Puts the designed form on the screen. Its Visible stays what the form
    // stores (false for a new one): showing it is this session's doing.
    void ShowForm();

    // TFormDesigner.
    TCustomForm* GetForm() const override { return FForm; }
    // BaseName without a leading T (as class names are given), then the lowest
    // number from 1 that makes a name no component of the form has.
    std::string UniqueName(const std::string& baseName) override;
    void SelectComponent(TPersistent* instance) override;
    void Modified() override;
    bool IsDesignMsg(TControl* sender, TMessage& message) override;

    bool IsModified() const { return FModifiedCount > 0; }
    Integer GetModifiedCount() const { return FModifiedCount; }

    // ---- the selection ----------------------------------------------------------------
    const std::vector<TPersistent*>& GetSelection() const { return FSelection.Items(); }
    bool IsSelected(const TPersistent* item) const { return FSelection.Contains(item); }
    void SetSelection(const std::vector<TPersistent*>& items) { FSelection.Set(items); }
    // Shift+click: adds Item, or takes it out when it is selected.
    void ToggleSelection(TPersistent* item) { FSelection.Toggle(item); }
    // Escape: the parent of the first selected control (the form at the top).
    void SelectParent();
    // Tab and Shift+Tab: the next (previous) component the form owns, round.
    void SelectNext(bool backward);
    // The selected controls that are not inside another selected one.
    std::vector<TControl*> SelectedControls() const;

    // ---- edits: each is one change of the form -----------------------------------------
    // Moves the selected controls by Delta (screen pixels); with NewParent,
    // each that NewParent accepts and its own parent does not hold goes into it.
    void MoveSelection(TPoint delta, TWinControl* newParent = nullptr);
    // Ctrl+arrows and Shift+arrows: by pixels, no grid.
    void NudgeSelection(Integer dx, Integer dy);
    void ResizeSelection(Integer dWidth, Integer dHeight);
    // A grab handle dragged: Control's new bounds in its parent.
    void SetControlBounds(TControl* control, const TRect& bounds);
    // Frees the selected components (not the form); what they hold goes with
    // them, a sheet leaves its bar as the bar has it. Their parent is selected.
    void DeleteSelection();
    // The selection's text (none for the form alone), put on the clipboard too.
    std::string CopySelection();
    void CutSelection();
    // Components from clipboard text into the selected container (or the
    // selected control's container): names in use are replaced; they become
    // the selection. EParserError or EReadError for text that is no form
    // text, and nothing changes.
    std::vector<TComponent*> PasteText(std::string_view text);
    std::vector<TComponent*> PasteFromClipboard();
    // The container pasted components of class ClassName go into.
    TWinControl* PasteTarget(const std::string& className) const;

    // ---- undo ---------------------------------------------------------------------------
    bool CanUndo() const { return FHistory.CanUndo(); }
    bool CanRedo() const { return FHistory.CanRedo(); }
    void Undo();
    void Redo();
    const TDesignHistory& GetHistory() const { return FHistory; }
    // Makes the form as it is now the start of the history (after the
    // environment has shown it: its place and caption are no change).
    void ResetHistory();

    // ---- keys ---------------------------------------------------------------------------
    // The designer's own keys: Delete, Escape, Tab, Ctrl+arrows, Shift+arrows,
    // Ctrl+X, C, V, Z, Y. True when the key was one of them.
    bool KeyDown(Word key, TShiftState shift);

    // ---- placing, verbs, editors --------------------------------------------------------
    // Places a new component of class Cls (a palette button): owned by the
    // form, named uniquely, a control parented by Parent (the form when null) at
    // Bounds; then selected, and the form modified.
    TComponent* CreateComponent(TClass cls, TWinControl* parent, const TRect& bounds);

    // A palette button chosen: the next left click on the form (or on a control
    // that accepts controls) places a component of Cls there, at its default
    // size. Null ends placing.
    void SetPlacingClass(TClass cls) { FPlacingClass = cls; }
    TClass GetPlacingClass() const { return FPlacingClass; }
    // Places the chosen class at a client point of Sender (into the nearest
    // container), at its default size; ends placing.
    TComponent* PlaceAt(TControl* sender, TPoint clientPoint);

    // The component editor's verbs, running one, and the double-click.
    std::vector<std::string> GetVerbs(TComponent* component);
    void ExecuteVerb(TComponent* component, Integer index);
    void EditComponent(TComponent* component);
    // The editor of a published property of the selection; null when the
    // selection is empty or its first component does not publish the property.
    std::unique_ptr<TPropertyEditor> GetPropertyEditor(const std::string& propertyName);

    // A right click on a component: where the environment shows its verbs.
    using TContextMenuEvent = std::function<void(TComponent* component, TPoint screenPoint)>;
    void SetOnContextMenu(TContextMenuEvent handler) { FOnContextMenu = std::move(handler); }
    // Told after the selection changes or the form is marked modified: where
    // the environment refreshes its views of the selection.
    void SetOnChange(std::function<void()> handler) { FOnChange = std::move(handler); }
    // A key pressed while a designed control has the focus (the designer keeps
    // it from the control) and that is none of the designer's own.
    void SetOnKeyDown(std::function<void(Word key)> handler) { FOnKeyDown = std::move(handler); }
    // A key pressed while a designed control has the focus, before the
    // designer's own keys; true takes it (Escape ending a drag).
    using TKeyPreviewEvent = std::function<bool(Word key, TShiftState shift)>;
    void SetOnKeyPreview(TKeyPreviewEvent handler) { FOnKeyPreview = std::move(handler); }
    // The left button's messages on designed controls (down, move, up, and a
    // double click with Shift or Ctrl held), with Sender the control that got
    // them; true takes the message.
    using TDesignMouseEvent = std::function<bool(TControl* sender, TMessage& message)>;
    void SetOnMouse(TDesignMouseEvent handler) { FOnMouse = std::move(handler); }

    // The component a click on Control designs: the control itself or the
    // nearest parent the form owns (the form itself when there is none).
    TComponent* DesignedComponent(TControl* control) const;

private:
    // One of the designer's own edits: the selection it makes on the way (the
    // parent of what it deletes, what it pastes) is the change's, not a
    // person's choice before it.
    class TEditScope {
    public:
        explicit TEditScope(THostFormDesigner& designer) : FDesigner(designer) { ++FDesigner.FEditing; }
        ~TEditScope() { --FDesigner.FEditing; }
        TEditScope(const TEditScope&) = delete;
        TEditScope& operator=(const TEditScope&) = delete;

    private:
        THostFormDesigner& FDesigner;
    };

    void Changed();
    void SelectionChanged();
    TComponent* NewComponent(TClass cls, TWinControl* parent, const TRect* bounds, const TPoint* topLeft);
    // Undo history.
    std::vector<std::string> SelectionNames() const;
    void RememberNames();
    void RecordChange();
    void RestoreState(const TDesignState& state) override;

    const TDesignRegistry& FRegistry;
    TCustomForm* FForm = nullptr;
    TDesignSelection FSelection;
    TDesignHistory FHistory;
    // The form as the last recorded change left it; its selection follows
    // what a person selects among the components that existed then.
    TDesignState FCurrent;
    std::vector<std::string> FCurrentNames;
    bool FRestoring = false;
    // Inside one of the designer's own edits, whose selection changes are its own.
    Integer FEditing = 0;
    Integer FModifiedCount = 0;
    TClass FPlacingClass = nullptr;
    TContextMenuEvent FOnContextMenu;
    std::function<void()> FOnChange;
    std::function<void(Word key)> FOnKeyDown;
    TKeyPreviewEvent FOnKeyPreview;
    TDesignMouseEvent FOnMouse;
};

} // namespace ld
