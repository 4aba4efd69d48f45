// The form designer: one form being designed, the components on it, the
// selection, and the design mode that keeps input away from the components.
//
// Design mode: the form and everything it owns are csDesigning. Mouse input on
// them goes to the designer, which selects the component under the pointer,
// runs its component editor's Edit on a double-click and offers its verbs on a
// right click, unless the control answers CM_DESIGNHITTEST with 1 (then the
// control gets the message as at run time). Key input meant for them goes to
// the designer too. The form's close box asks the environment (OnClose); the
// form moved or sized by its frame is a modification of its Left, Top, Width
// and Height.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/DesignRegistry.h"

namespace ld {

class THostFormDesigner : public TFormDesigner {
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
    std::unique_ptr<TPropertyEditor> CreatePropertyEditor(const TPropInfo* prop,
                                                          std::vector<TPersistent*> components) override;

    // Made by Open (false for a new form).
    bool IsOpenedForm() const { return FOpened; }
    // The form's bounds now are where it was put, not a change (the
    // environment placed it on the screen). Without this, the bounds the
    // form's window first settles at are taken so.
    void AcceptFormBounds();

    const std::vector<TPersistent*>& GetSelection() const { return FSelection; }
    bool IsModified() const { return FModifiedCount > 0; }
    Integer GetModifiedCount() const { return FModifiedCount; }

    // Places a new component of class Cls (a palette button): owned by the
    // form, named uniquely, a control parented by Parent (the form when null) at
    // Bounds; then selected, and the form modified.
    TComponent* CreateComponent(TClass cls, TWinControl* parent, const TRect& bounds);

    // A palette button chosen: the next left click on the form (or on a control
    // that accepts controls) places a component of Cls there, at its default
    // size. Null ends placing.
    void SetPlacingClass(TClass cls) { FPlacingClass = cls; }
    TClass GetPlacingClass() const { return FPlacingClass; }

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
    // it from the control): where the environment's own keys are heard.
    void SetOnKeyDown(std::function<void(Word key)> handler) { FOnKeyDown = std::move(handler); }
    // The form's close box: where the environment asks whether to end the
    // session. Without a handler the form stays.
    void SetOnClose(std::function<void()> handler) { FOnClose = std::move(handler); }

    // The component a click on Control designs: the control itself or the
    // nearest parent the form owns (the form itself when there is none).
    TComponent* DesignedComponent(TControl* control) const;

private:
    class TSelectionWatch;
    void Forget(TComponent* component);
    void Changed();
    TComponent* NewComponent(TClass cls, TWinControl* parent, const TRect* bounds);
    void PlaceAt(TControl* sender, TPoint clientPoint);
    bool IsFormMsg(TMessage& message);

    const TDesignRegistry& FRegistry;
    TCustomForm* FForm = nullptr;
    std::vector<TPersistent*> FSelection;
    std::unique_ptr<TSelectionWatch> FWatch;
    Integer FModifiedCount = 0;
    TClass FPlacingClass = nullptr;
    TContextMenuEvent FOnContextMenu;
    std::function<void()> FOnChange;
    std::function<void(Word key)> FOnKeyDown;
    std::function<void()> FOnClose;
    bool FOpened = false;
    TRect FKnownBounds{};
    bool FBoundsKnown = false; // the window has settled, or a modification recorded them
    bool FBoundsCheckPosted = false;
};

} // namespace ld
