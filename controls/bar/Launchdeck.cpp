// TLaunchdeck and TShortcutSheet: the model. Which sheets there are, in what
// order, which of them count as visible, which one is open, the change events,
// the published properties and streaming. Layout is in LaunchdeckLayout.cpp,
// painting and the flat frames in LaunchdeckPaint.cpp.
#include "controls/bar/Launchdeck.h"

#include <algorithm>
#include <cstdlib>

#include "controls/list/ShortcutList.h"
#include "controls/shared/HostVersion.h"
#include "controls/shared/ShortcutButton.h"
#include "platform/core/Resources.h"
#include "platform/core/SysUtils.h"
#include "platform/stream/Reader.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/win/Input.h"

namespace ld {

namespace {

const TShortcutOptions DefaultOptions{soFlatTabs, soButtonTabs, soAnimatedSheets};
constexpr Integer DefaultWidth = 84;

bool Designing(const TComponent* component) { return component->ComponentState().Contains(csDesigning); }
bool Loading(const TComponent* component) { return component->ComponentState().Contains(csLoading); }

} // namespace

const TEnumInfo& ShortcutOptionInfo()
{
    static const TEnumInfo info{"TShortcutOption",
                                {"soFlatTabs", "soButtonTabs", "soHotTabs", "soButtonItems", "soAnimatedSheets"}};
    return info;
}

// ---- TLaunchdeck: type info ---------------------------------------------------------------

TClass TLaunchdeck::StaticClass()
{
    using B = TLaunchdeck;
    // Font comes before TabHeight, so that reading a stored font (which resets
    // the tab height) cannot undo a stored tab height. The anchors, constraints
    // and docking properties exist only in the newer hosts' class library.
    static const TClassInfo info =
        TClassBuilder<B>("TLaunchdeck", TCustomControl::StaticClass())
            .Component("ActiveSheet", &B::GetActiveSheet, &B::SetActiveSheet)
            .Enum("Align", &B::GetAlign, &B::SetAlign, AlignInfo()).Default(alLeft)
#if LD_HOST_HAS_DOCKING
            .Set("Anchors", &B::GetAnchors, &B::SetAnchors, AnchorKindInfo()).Default(TAnchors{akLeft, akTop})
#endif
            .Enum("BorderStyle", &B::GetBorderStyle, &B::SetBorderStyle, BorderStyleInfo()).Default(bsSingle)
            .Integer("Color", &B::GetColor, &B::SetColor).Idents(ColorIdentsInfo()).Default(clWindow)
            .Stored(&B::IsColorStored)
#if LD_HOST_HAS_DOCKING
            .Object("Constraints", &B::GetConstraints, &B::SetConstraints)
#endif
            .Boolean("Ctl3D", &B::GetCtl3D, &B::SetCtl3D).Default(true)
            .Integer("DragCursor", &B::GetDragCursor, &B::SetDragCursor).Idents(CursorIdents()).Default(crDrag)
#if LD_HOST_HAS_DOCKING
            .Enum("DragKind", &B::GetDragKind, &B::SetDragKind, DragKindInfo()).Default(dkDrag)
#endif
            .Enum("DragMode", &B::GetDragMode, &B::SetDragMode, DragModeInfo()).Default(dmManual)
            .Boolean("Enabled", &B::GetEnabled, &B::SetEnabled).Default(true)
            .Object("Font", &B::GetFont, &B::SetFont).Stored(&B::IsFontStored)
            .Integer("MinSheetHeight", &B::GetMinSheetHeight, &B::SetMinSheetHeight)
            .Set("Options", &B::GetOptions, &B::SetOptions, ShortcutOptionInfo()).Default(DefaultOptions)
            .Boolean("ParentColor", &B::GetParentColor, &B::SetParentColor).Default(true)
            .Boolean("ParentCtl3D", &B::GetParentCtl3D, &B::SetParentCtl3D).Default(true)
            .Boolean("ParentFont", &B::GetParentFont, &B::SetParentFont).Default(true)
            .Boolean("ParentShowHint", &B::GetParentShowHint, &B::SetParentShowHint).Default(true)
            .Component("PopupMenu", &B::GetPopupMenu, &B::SetPopupMenu)
            .Boolean("ShowHint", &B::GetShowHint, &B::SetShowHint).Default(false)
            .Integer("TabColor", &B::GetTabColor, &B::SetTabColor).Idents(ColorIdentsInfo()).Default(clBtnFace)
            .Integer("TabHeight", &B::GetTabHeight, &B::SetTabHeight).Stored(&B::IsTabHeightStored)
            .Boolean("Visible", &B::GetVisible, &B::SetVisible).Default(true)
            .Event("OnChange", &B::GetOnChange, &B::SetOnChange)
            .Event("OnChanging", &B::GetOnChanging, &B::SetOnChanging)
            .Event("OnDragDrop", &B::GetOnDragDrop, &B::SetOnDragDrop)
            .Event("OnDragOver", &B::GetOnDragOver, &B::SetOnDragOver)
#if LD_HOST_HAS_DOCKING
            .Event("OnEndDock", &B::GetOnEndDock, &B::SetOnEndDock)
#endif
            .Event("OnEndDrag", &B::GetOnEndDrag, &B::SetOnEndDrag)
            .Event("OnEnter", &B::GetOnEnter, &B::SetOnEnter)
            .Event("OnExit", &B::GetOnExit, &B::SetOnExit)
            .Event("OnMouseDown", &B::GetOnMouseDown, &B::SetOnMouseDown)
            .Event("OnMouseMove", &B::GetOnMouseMove, &B::SetOnMouseMove)
            .Event("OnMouseUp", &B::GetOnMouseUp, &B::SetOnMouseUp)
#if LD_HOST_HAS_DOCKING
            .Event("OnStartDock", &B::GetOnStartDock, &B::SetOnStartDock)
#endif
            .Event("OnStartDrag", &B::GetOnStartDrag, &B::SetOnStartDrag);
    return &info;
}

// ---- TLaunchdeck: life ---------------------------------------------------------------------

TLaunchdeck::TLaunchdeck(TComponent* owner) : TCustomControl(owner)
{
    FControlStyle = {csOpaque, csDoubleClicks};
    if (!NewStyleControls)
        FControlStyle.Include(csFramed);
    if (!Designing(this))
        FControlStyle.Include(csCaptureMouse);
    FSheets = new TList();
    FBorderStyle = bsSingle;
    FTabColor = clBtnFace;
    FTabHeight = FontTabHeight();
    FOptions = DefaultOptions;
    FActiveGroup = -1;
    FDownIndex = -1;
    SetParentColor(false);
    SetColor(clBtnShadow);
    SetWidth(DefaultWidth);
    SetAlign(alLeft);
    if (!Designing(this)) {
        FUpButton = new TShortcutButton(this, sbUp);
        FUpButton->SetParent(this);
        FUpButton->SetOnClick(TNotifyEvent(this, &TLaunchdeck::UpButtonClick));
        FDownButton = new TShortcutButton(this, sbDown);
        FDownButton->SetParent(this);
        FDownButton->SetOnClick(TNotifyEvent(this, &TLaunchdeck::DownButtonClick));
    }
}

TLaunchdeck::~TLaunchdeck()
{
    FreeAndNil(FLeaveTimer);
    // An open editor goes while the bar is still whole.
    DropCaptionEdit();
    // The sheets are destroyed later, as child controls: they must not call back.
    for (void* p : FSheets->List())
        static_cast<TShortcutSheet*>(p)->FLaunchdeck = nullptr;
    FActiveSheet = nullptr;
    FreeAndNil(FSheets);
    if (!Designing(this)) {
        // Leaving the parent first, while each is still wholly a button, so the
        // bar forgets them as windowed children.
        FUpButton->SetParent(nullptr);
        FDownButton->SetParent(nullptr);
        FreeAndNil(FUpButton);
        FreeAndNil(FDownButton);
    }
    SetParent(nullptr);
}

Integer TLaunchdeck::FontTabHeight() const { return MulDiv(std::abs(GetFont()->GetHeight()), 166, 100); }

// ---- TLaunchdeck: sheets ------------------------------------------------------------------

TShortcutSheet* TLaunchdeck::GetSheet(Integer index) const { return FSheets->Item<TShortcutSheet>(index); }

TShortcutSheet* TLaunchdeck::GetVisibleSheet(Integer index) const
{
    if (index < 0)
        return nullptr;
    for (void* p : FSheets->List()) {
        auto* sheet = static_cast<TShortcutSheet*>(p);
        if (sheet->IsVisible() && index-- == 0)
            return sheet;
    }
    return nullptr;
}

Integer TLaunchdeck::GetVisibleSheetCount() const
{
    Integer count = 0;
    for (void* p : FSheets->List())
        if (static_cast<TShortcutSheet*>(p)->IsVisible())
            ++count;
    return count;
}

TShortcutSheet* TLaunchdeck::NewSheet()
{
    auto* sheet = new TShortcutSheet(GetParentForm(this));
    sheet->SetParent(this);
    sheet->SetLaunchdeck(this);
    return sheet;
}

void TLaunchdeck::NewSheetAndList(TShortcutSheet*& sheet, TShortcutList*& list)
{
    sheet = NewSheet();
    list = sheet->NewList();
}

void TLaunchdeck::InsertSheet(TShortcutSheet* sheet)
{
    FSheets->Add(sheet);
    sheet->FLaunchdeck = this;
    ChangeActiveSheet(sheet);
    LayoutChanged();
}

void TLaunchdeck::RemoveSheet(TShortcutSheet* sheet)
{
    if (sheet == FEditSheet)
        DropCaptionEdit();
    const Integer index = sheet == FActiveSheet ? sheet->GetSheetIndex() : -1;
    sheet->FLaunchdeck = nullptr;
    FSheets->Remove(sheet);
    if (index != -1)
        FindNewActiveSheet(index);
    LayoutChanged();
}

void TLaunchdeck::FindNewActiveSheet(Integer index)
{
    index = std::min(std::max(index, 0), GetSheetCount() - 1);
    if (index >= 0) {
        for (Integer i = index; i < GetSheetCount(); ++i)
            if (GetSheet(i)->IsVisible()) {
                ChangeActiveSheet(GetSheet(i));
                return;
            }
        for (Integer i = index; i >= 0; --i)
            if (GetSheet(i)->IsVisible()) {
                ChangeActiveSheet(GetSheet(i));
                return;
            }
    }
    ChangeActiveSheet(nullptr);
}

void TLaunchdeck::ChangeActiveSheet(TShortcutSheet* sheet)
{
    if (sheet != nullptr && sheet->FLaunchdeck != this)
        return;
    if (sheet != FActiveSheet) {
        TCustomForm* form = GetParentForm(this);
        TShortcutSheet* old = FActiveSheet;
        const bool opens = sheet != nullptr && sheet->IsVisible();
        // The focus must not stay inside a sheet that is about to be hidden.
        if (form != nullptr && old != nullptr && form->GetActiveControl() != nullptr &&
            old->ContainsControl(form->GetActiveControl()))
            form->SetActiveControl(old);
        if (opens) {
            sheet->BringToFront();
            sheet->TControl::SetVisible(true);
        }
        if (sheet != nullptr && form != nullptr && old != nullptr && form->GetActiveControl() == old) {
            if (sheet->CanFocus() && sheet->IsVisible())
                form->SetActiveControl(sheet);
            else
                form->SetActiveControl(this);
        }
        if (old != nullptr)
            old->TControl::SetVisible(false);
        FActiveSheet = opens ? sheet : nullptr;
        if (form != nullptr && FActiveSheet != nullptr && form->GetActiveControl() == FActiveSheet)
            FActiveSheet->SelectFirst();
        if (!Loading(this))
            Change();
    }
    EnsureSheetVisible(FActiveSheet);
}

void TLaunchdeck::InternalSetActiveSheet(TShortcutSheet* sheet)
{
    if (sheet != nullptr)
        ChangeActiveSheet(sheet);
    else
        FindNewActiveSheet(-1);
    LayoutChanged();
}

void TLaunchdeck::SetActiveSheet(TShortcutSheet* sheet)
{
    if (Loading(this) || CanChange())
        InternalSetActiveSheet(sheet);
}

Integer TLaunchdeck::GetActiveTab() const
{
    if (FActiveGroup == -1)
        return -1;
    TShortcutSheet* sheet = GetVisibleSheet(FActiveGroup);
    return sheet != nullptr ? sheet->GetSheetIndex() : -1;
}

TShortcutList* TLaunchdeck::GetActiveList() const
{
    return FActiveSheet != nullptr ? FActiveSheet->GetShortcutList() : nullptr;
}

TShortcutItem* TLaunchdeck::GetActiveItem() const
{
    TShortcutList* list = GetActiveList();
    return list != nullptr ? list->GetActiveItem() : nullptr;
}

void TLaunchdeck::Change()
{
    if (FOnChange)
        FOnChange(this);
}

bool TLaunchdeck::CanChange()
{
    bool allowChange = true;
    if (FOnChanging)
        FOnChanging(this, allowChange);
    if (allowChange && FEndEditOnChange)
        FinishCaptionEdit();
    return allowChange;
}

// ---- TLaunchdeck: properties --------------------------------------------------------------

void TLaunchdeck::SetBorderStyle(TBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    RecreateWnd();
}

void TLaunchdeck::SetOptions(TShortcutOptions value)
{
    if (value == FOptions)
        return;
    FOptions = value;
    RecreateWnd();
    LayoutChanged();
}

void TLaunchdeck::SetTabColor(TColor value)
{
    if (value == FTabColor)
        return;
    FTabColor = value;
    Invalidate();
}

void TLaunchdeck::SetTabHeight(Integer value)
{
    if (value == FTabHeight)
        return;
    FTabHeight = value;
    LayoutChanged();
}

void TLaunchdeck::SetMinSheetHeight(Integer value)
{
    value = std::max(value, 0);
    if (value == FMinSheetHeight)
        return;
    FMinSheetHeight = value;
    LayoutChanged();
}

bool TLaunchdeck::IsTabHeightStored() const { return FTabHeight != FontTabHeight(); }

// Colour and font are stored only when not taken from the parent.
bool TLaunchdeck::IsColorStored() const { return !GetParentColor(); }
bool TLaunchdeck::IsFontStored() const { return !GetParentFont(); }

// ---- TLaunchdeck: streaming and messages ---------------------------------------------------

void TLaunchdeck::GetChildren(const TGetChildProc& proc, TComponent*)
{
    for (void* p : FSheets->List())
        proc(static_cast<TShortcutSheet*>(p));
}

void TLaunchdeck::SetChildOrder(TComponent* child, Integer order)
{
    if (auto* sheet = dynamic_cast<TShortcutSheet*>(child))
        sheet->SetSheetIndex(order);
}

void TLaunchdeck::Loaded()
{
    // Loading hands the parent's font down again, which announces a font
    // change even when the font is the same; that must not undo a stored tab
    // height. A font of another height still resets it.
    const Integer storedTabHeight = FTabHeight;
    const Integer fontHeight = GetFont()->GetHeight();
    inherited::Loaded();
    if (GetFont()->GetHeight() == fontHeight)
        SetTabHeight(storedTabHeight);
    if (FActiveSheet == nullptr)
        FindNewActiveSheet(-1);
}

void TLaunchdeck::ShowControl(TControl* control)
{
    auto* sheet = dynamic_cast<TShortcutSheet*>(control);
    if (sheet != nullptr && sheet->FLaunchdeck == this)
        SetActiveSheet(sheet);
    inherited::ShowControl(control);
}

void TLaunchdeck::Dispatch(TMessage& message)
{
    if (DispatchInput(message))
        return;
    switch (message.Msg) {
    case WM_SIZE: WMSize(message); return;
    case WM_NCCALCSIZE: WMNCCalcSize(message); return;
    case WM_NCPAINT: WMNCPaint(message); return;
    case CM_FONTCHANGED: CMFontChanged(message); return;
    case CM_CTL3DCHANGED: CMCtl3DChanged(message); return;
    }
    inherited::Dispatch(message);
}

void TLaunchdeck::WMSize(TMessage& message)
{
    inherited::Dispatch(message);
    LayoutChanged();
}

void TLaunchdeck::CMFontChanged(TMessage& message)
{
    inherited::Dispatch(message);
    // A font change always overrides a custom tab height.
    SetTabHeight(FontTabHeight());
    Invalidate();
}

void TLaunchdeck::CMCtl3DChanged(TMessage& message)
{
    inherited::Dispatch(message);
    RecreateWnd();
}

// ---- TShortcutSheet ------------------------------------------------------------------------

TClass TShortcutSheet::StaticClass()
{
    using S = TShortcutSheet;
    // The bar places its sheets and the stored order gives their index: none of
    // these is stored.
    static const TClassInfo info =
        TClassBuilder<S>("TShortcutSheet", TWinControl::StaticClass())
            .Integer("Left", &S::GetLeft, &S::SetLeft).Stored(false)
            .Integer("Top", &S::GetTop, &S::SetTop).Stored(false)
            .Integer("Width", &S::GetWidth, &S::SetWidth).Stored(false)
            .Integer("Height", &S::GetHeight, &S::SetHeight).Stored(false)
            .String("Caption", &S::GetCaption, &S::SetCaption)
            .Boolean("Enabled", &S::GetEnabled, &S::SetEnabled).Default(true)
            .Object("Font", &S::GetFont, &S::SetFont).Stored(&S::IsFontStored)
            .Integer("SheetIndex", &S::GetSheetIndex, &S::SetSheetIndex).Stored(false)
            .Boolean("ParentFont", &S::GetParentFont, &S::SetParentFont).Default(true)
            .Boolean("ParentShowHint", &S::GetParentShowHint, &S::SetParentShowHint).Default(true)
            .Component("PopupMenu", &S::GetPopupMenu, &S::SetPopupMenu)
            .Boolean("ShowHint", &S::GetShowHint, &S::SetShowHint).Default(false)
            .Boolean("Visible", &S::GetVisible, &S::SetVisible).Default(true)
            .Event("OnDragDrop", &S::GetOnDragDrop, &S::SetOnDragDrop)
            .Event("OnDragOver", &S::GetOnDragOver, &S::SetOnDragOver)
            .Event("OnEnter", &S::GetOnEnter, &S::SetOnEnter)
            .Event("OnExit", &S::GetOnExit, &S::SetOnExit)
            .Event("OnMouseDown", &S::GetOnMouseDown, &S::SetOnMouseDown)
            .Event("OnMouseMove", &S::GetOnMouseMove, &S::SetOnMouseMove)
            .Event("OnMouseUp", &S::GetOnMouseUp, &S::SetOnMouseUp);
    return &info;
}

TShortcutSheet::TShortcutSheet(TComponent* owner) : TWinControl(owner)
{
    // Starts hidden without a notice: there is no window and no parent yet.
    TControl::FVisible = false;
    FVisible = true;
    FControlStyle.Include(csAcceptsControls);
}

TShortcutSheet::~TShortcutSheet()
{
    if (FLaunchdeck != nullptr)
        FLaunchdeck->RemoveSheet(this);
    // Leaves the parent while still wholly a windowed control, so the parent
    // forgets it as such.
    SetParent(nullptr);
}

void TShortcutSheet::SetLaunchdeck(TLaunchdeck* bar)
{
    if (bar == FLaunchdeck)
        return;
    if (FLaunchdeck != nullptr)
        FLaunchdeck->RemoveSheet(this);
    SetParent(bar);
    if (bar != nullptr)
        bar->InsertSheet(this);
}

Integer TShortcutSheet::GetSheetIndex() const
{
    return FLaunchdeck != nullptr ? FLaunchdeck->FSheets->IndexOf(this) : -1;
}

Integer TShortcutSheet::GetVisibleSheetIndex() const
{
    if (FLaunchdeck == nullptr || !IsVisible())
        return -1;
    Integer index = 0;
    for (void* p : FLaunchdeck->FSheets->List()) {
        auto* sheet = static_cast<TShortcutSheet*>(p);
        if (sheet == this)
            return index;
        if (sheet->IsVisible())
            ++index;
    }
    return -1;
}

void TShortcutSheet::SetSheetIndex(Integer value)
{
    if (FLaunchdeck == nullptr)
        return;
    const Integer last = FLaunchdeck->GetSheetCount() - 1;
    if (value > last) {
        static const char anchor = 0;
        throw EListError(Format(LoadStr(ModuleOf(&anchor), SInvalidSheetIndex), {value, last}));
    }
    FLaunchdeck->FSheets->Move(GetSheetIndex(), value);
    FLaunchdeck->LayoutChanged();
}

bool TShortcutSheet::IsFontStored() const { return !GetParentFont(); }

bool TShortcutSheet::IsVisible() const { return FVisible || Designing(this); }

void TShortcutSheet::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    if (FLaunchdeck == nullptr)
        return;
    // Hiding any sheet opens the first visible one at or after its place.
    if (!value)
        FLaunchdeck->FindNewActiveSheet(GetSheetIndex());
    FLaunchdeck->LayoutChanged();
}

TShortcutList* TShortcutSheet::GetShortcutList() const
{
    for (Integer i = 0; i < GetControlCount(); ++i)
        if (auto* list = dynamic_cast<TShortcutList*>(GetControl(i)))
            return list;
    return nullptr;
}

void TShortcutSheet::EditCaption()
{
    if (FLaunchdeck != nullptr)
        FLaunchdeck->EditCaption(this);
}

TShortcutList* TShortcutSheet::NewList()
{
    auto* list = new TShortcutList(GetParentForm(this));
    list->SetParent(this);
    return list;
}

bool TShortcutSheet::ListFullSelect() const
{
    auto* bar = dynamic_cast<TLaunchdeck*>(GetParent());
    return bar != nullptr && bar->GetOptions().Contains(soButtonItems);
}

void TShortcutSheet::OpenSheetForList()
{
    if (auto* bar = dynamic_cast<TLaunchdeck*>(GetParent()))
        bar->SetActiveSheet(this);
}

void TShortcutSheet::SetSheetBounds(const TRect& rect)
{
    ++FBoundsLock;
    try {
        SetBoundsRect(rect);
    } catch (...) {
        --FBoundsLock;
        throw;
    }
    --FBoundsLock;
}

void TShortcutSheet::SetBounds(Integer left, Integer top, Integer width, Integer height)
{
    if (FBoundsLock > 0 || Loading(this))
        inherited::SetBounds(left, top, width, height);
}

void TShortcutSheet::ReadState(TReader* reader)
{
    inherited::ReadState(reader);
    if (auto* bar = dynamic_cast<TLaunchdeck*>(reader->Parent()))
        SetLaunchdeck(bar);
}

void TShortcutSheet::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CM_TEXTCHANGED: CMTextChanged(message); return;
    case WM_NCCALCSIZE: WMNCCalcSize(message); return;
    case WM_NCPAINT: WMNCPaint(message); return;
    }
    inherited::Dispatch(message);
}

void TShortcutSheet::CMTextChanged(TMessage& message)
{
    inherited::Dispatch(message);
    if (FLaunchdeck != nullptr)
        FLaunchdeck->InvalidateGroup(GetVisibleSheetIndex());
}

} // namespace ld
