// The published properties and events of the standard controls, in the
// host's order and with its stored defaults, so that a stored form reads and
// writes back unchanged; and their registration for stored forms.
#include "platform/stdctrls/StdCtrls.h"

#include "platform/core/ClassRegistry.h"
#include "platform/gfx/Graphics.h"
#include "platform/vcl/Menus.h"

namespace ld {

const TEnumInfo& EditCharCaseInfo()
{
    static const TEnumInfo info{"TEditCharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"}};
    return info;
}
const TEnumInfo& ScrollStyleInfo()
{
    static const TEnumInfo info{"TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};
    return info;
}
const TEnumInfo& ComboBoxStyleInfo()
{
    static const TEnumInfo info{"TComboBoxStyle",
                                {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"}};
    return info;
}
const TEnumInfo& AlignmentInfo()
{
    static const TEnumInfo info{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
    return info;
}
const TEnumInfo& TextLayoutInfo()
{
    static const TEnumInfo info{"TTextLayout", {"tlTop", "tlCenter", "tlBottom"}};
    return info;
}
const TEnumInfo& CheckBoxStateInfo()
{
    static const TEnumInfo info{"TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"}};
    return info;
}
const TEnumInfo& EditBorderStyleInfo()
{
    static const TEnumInfo info{"TBorderStyle", {"bsNone", "bsSingle"}};
    return info;
}

namespace {

// The rules of TControl and TWinControl as predicates of the class C whose
// table is being built.
template <class C>
auto ColorStored() { return static_cast<bool (C::*)() const>(&TControl::IsColorStored); }
template <class C>
auto FontStored() { return static_cast<bool (C::*)() const>(&TControl::IsFontStored); }
template <class C>
auto ShowHintStored() { return static_cast<bool (C::*)() const>(&TControl::IsShowHintStored); }
template <class C>
auto Ctl3DStored() { return static_cast<bool (C::*)() const>(&TWinControl::IsCtl3DStored); }

// The published events in the host's order; each class has the groups it
// names.
enum : unsigned { evChange = 1, evDblClick = 2, evDropDown = 4, evFocus = 8, evKeys = 16, evMouse = 32 };

template <unsigned Groups, class B>
TClassBuilder<B>& Events(TClassBuilder<B>& b)
{
    if constexpr ((Groups & evChange) != 0)
        b.Event("OnChange", &B::GetOnChange, &B::SetOnChange);
    b.Event("OnClick", &B::GetOnClick, &B::SetOnClick);
    if constexpr ((Groups & evDblClick) != 0)
        b.Event("OnDblClick", &B::GetOnDblClick, &B::SetOnDblClick);
    b.Event("OnDragDrop", &B::GetOnDragDrop, &B::SetOnDragDrop).Event("OnDragOver", &B::GetOnDragOver, &B::SetOnDragOver);
    if constexpr ((Groups & evDropDown) != 0)
        b.Event("OnDropDown", &B::GetOnDropDown, &B::SetOnDropDown);
    b.Event("OnEndDock", &B::GetOnEndDock, &B::SetOnEndDock).Event("OnEndDrag", &B::GetOnEndDrag, &B::SetOnEndDrag);
    if constexpr ((Groups & evFocus) != 0)
        b.Event("OnEnter", &B::GetOnEnter, &B::SetOnEnter).Event("OnExit", &B::GetOnExit, &B::SetOnExit);
    if constexpr ((Groups & evKeys) != 0)
        b.Event("OnKeyDown", &B::GetOnKeyDown, &B::SetOnKeyDown)
            .Event("OnKeyPress", &B::GetOnKeyPress, &B::SetOnKeyPress)
            .Event("OnKeyUp", &B::GetOnKeyUp, &B::SetOnKeyUp);
    if constexpr ((Groups & evMouse) != 0)
        b.Event("OnMouseDown", &B::GetOnMouseDown, &B::SetOnMouseDown)
            .Event("OnMouseMove", &B::GetOnMouseMove, &B::SetOnMouseMove)
            .Event("OnMouseUp", &B::GetOnMouseUp, &B::SetOnMouseUp);
    return b.Event("OnStartDock", &B::GetOnStartDock, &B::SetOnStartDock)
        .Event("OnStartDrag", &B::GetOnStartDrag, &B::SetOnStartDrag);
}

const TAnchors DefaultAnchors{akLeft, akTop};

// Registered as the module loads: stored forms name these classes.
const bool ClassesRegistered = [] {
    RegisterClasses({TEdit::StaticClass(), TMemo::StaticClass(), TButton::StaticClass(), TCheckBox::StaticClass(),
                     TComboBox::StaticClass(), TGroupBox::StaticClass(), TLabel::StaticClass()});
    return true;
}();

} // namespace

TClass TCustomEdit::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TCustomEdit>("TCustomEdit", TWinControl::StaticClass()).Abstract();
    return &info;
}

TClass TEdit::StaticClass()
{
    using B = TEdit;
    static const TClassInfo info =
        Events<evChange | evDblClick | evFocus | evKeys | evMouse>(
            TClassBuilder<B>("TEdit", TCustomEdit::StaticClass())
                .Set("Anchors", &B::GetAnchors, &B::SetAnchors, AnchorKindInfo()).Default(DefaultAnchors)
                .Boolean("AutoSelect", &B::GetAutoSelect, &B::SetAutoSelect).Default(true)
                .Boolean("AutoSize", &B::GetAutoSize, &B::SetAutoSize).Default(true)
                .Enum("BorderStyle", &B::GetBorderStyle, &B::SetBorderStyle, EditBorderStyleInfo()).Default(bsSingle)
                .Enum("CharCase", &B::GetCharCase, &B::SetCharCase, EditCharCaseInfo()).Default(ecNormal)
                .Integer("Color", &B::GetColor, &B::SetColor).Idents(ColorIdentsInfo()).Default(clWindow).Stored(ColorStored<B>())
                .Object("Constraints", &B::GetConstraints, &B::SetConstraints)
                .Boolean("Ctl3D", &B::GetCtl3D, &B::SetCtl3D).Stored(Ctl3DStored<B>())
                .Integer("DragCursor", &B::GetDragCursor, &B::SetDragCursor).Idents(CursorIdents()).Default(crDrag)
                .Enum("DragKind", &B::GetDragKind, &B::SetDragKind, DragKindInfo()).Default(dkDrag)
                .Enum("DragMode", &B::GetDragMode, &B::SetDragMode, DragModeInfo()).Default(dmManual)
                .Boolean("Enabled", &B::GetEnabled, &B::SetEnabled).Default(true)
                .Object("Font", &B::GetFont, &B::SetFont).Stored(FontStored<B>())
                .Boolean("HideSelection", &B::GetHideSelection, &B::SetHideSelection).Default(true)
                .Integer("MaxLength", &B::GetMaxLength, &B::SetMaxLength).Default(0)
                .Boolean("OEMConvert", &B::GetOEMConvert, &B::SetOEMConvert).Default(false)
                .Boolean("ParentColor", &B::GetParentColor, &B::SetParentColor).Default(false)
                .Boolean("ParentCtl3D", &B::GetParentCtl3D, &B::SetParentCtl3D).Default(true)
                .Boolean("ParentFont", &B::GetParentFont, &B::SetParentFont).Default(true)
                .Boolean("ParentShowHint", &B::GetParentShowHint, &B::SetParentShowHint).Default(true)
                .String("PasswordChar", &B::GetPasswordCharText, &B::SetPasswordCharText)
                .Component("PopupMenu", &B::GetPopupMenu, &B::SetPopupMenu)
                .Boolean("ReadOnly", &B::GetReadOnly, &B::SetReadOnly).Default(false)
                .Boolean("ShowHint", &B::GetShowHint, &B::SetShowHint).Stored(ShowHintStored<B>())
                .Integer("TabOrder", &B::GetTabOrder, &B::SetTabOrder).Default(-1)
                .Boolean("TabStop", &B::GetTabStop, &B::SetTabStop).Default(true)
                .String("Text", &B::GetText, &B::SetText)
                .Boolean("Visible", &B::GetVisible, &B::SetVisible).Default(true));
    return &info;
}

TClass TMemoStrings::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TMemoStrings>("TMemoStrings", TStrings::StaticClass());
    return &info;
}

TClass TCustomMemo::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TCustomMemo>("TCustomMemo", TCustomEdit::StaticClass()).Abstract();
    return &info;
}

TClass TMemo::StaticClass()
{
    using B = TMemo;
    static const TClassInfo info =
        Events<evChange | evDblClick | evFocus | evKeys | evMouse>(
            TClassBuilder<B>("TMemo", TCustomMemo::StaticClass())
                .Enum("Align", &B::GetAlign, &B::SetAlign, AlignInfo()).Default(alNone)
                .Enum("Alignment", &B::GetAlignment, &B::SetAlignment, AlignmentInfo()).Default(taLeftJustify)
                .Set("Anchors", &B::GetAnchors, &B::SetAnchors, AnchorKindInfo()).Default(DefaultAnchors)
                .Enum("BorderStyle", &B::GetBorderStyle, &B::SetBorderStyle, EditBorderStyleInfo()).Default(bsSingle)
                .Integer("Color", &B::GetColor, &B::SetColor).Idents(ColorIdentsInfo()).Default(clWindow).Stored(ColorStored<B>())
                .Object("Constraints", &B::GetConstraints, &B::SetConstraints)
                .Boolean("Ctl3D", &B::GetCtl3D, &B::SetCtl3D).Stored(Ctl3DStored<B>())
                .Integer("DragCursor", &B::GetDragCursor, &B::SetDragCursor).Idents(CursorIdents()).Default(crDrag)
                .Enum("DragKind", &B::GetDragKind, &B::SetDragKind, DragKindInfo()).Default(dkDrag)
                .Enum("DragMode", &B::GetDragMode, &B::SetDragMode, DragModeInfo()).Default(dmManual)
                .Boolean("Enabled", &B::GetEnabled, &B::SetEnabled).Default(true)
                .Object("Font", &B::GetFont, &B::SetFont).Stored(FontStored<B>())
                .Boolean("HideSelection", &B::GetHideSelection, &B::SetHideSelection).Default(true)
                .Object("Lines", &B::GetLines, &B::SetLines)
                .Integer("MaxLength", &B::GetMaxLength, &B::SetMaxLength).Default(0)
                .Boolean("OEMConvert", &B::GetOEMConvert, &B::SetOEMConvert).Default(false)
                .Boolean("ParentColor", &B::GetParentColor, &B::SetParentColor).Default(false)
                .Boolean("ParentCtl3D", &B::GetParentCtl3D, &B::SetParentCtl3D).Default(true)
                .Boolean("ParentFont", &B::GetParentFont, &B::SetParentFont).Default(true)
                .Boolean("ParentShowHint", &B::GetParentShowHint, &B::SetParentShowHint).Default(true)
                .Component("PopupMenu", &B::GetPopupMenu, &B::SetPopupMenu)
                .Boolean("ReadOnly", &B::GetReadOnly, &B::SetReadOnly).Default(false)
                .Enum("ScrollBars", &B::GetScrollBars, &B::SetScrollBars, ScrollStyleInfo()).Default(ssNone)
                .Boolean("ShowHint", &B::GetShowHint, &B::SetShowHint).Stored(ShowHintStored<B>())
                .Integer("TabOrder", &B::GetTabOrder, &B::SetTabOrder).Default(-1)
                .Boolean("TabStop", &B::GetTabStop, &B::SetTabStop).Default(true)
                .Boolean("Visible", &B::GetVisible, &B::SetVisible).Default(true)
                .Boolean("WantReturns", &B::GetWantReturns, &B::SetWantReturns).Default(true)
                .Boolean("WantTabs", &B::GetWantTabs, &B::SetWantTabs).Default(false)
                .Boolean("WordWrap", &B::GetWordWrap, &B::SetWordWrap).Default(true));
    return &info;
}

TClass TButtonControl::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TButtonControl>("TButtonControl", TWinControl::StaticClass()).Abstract();
    return &info;
}

TClass TButton::StaticClass()
{
    using B = TButton;
    static const TClassInfo info =
        Events<evFocus | evKeys | evMouse>(
            TClassBuilder<B>("TButton", TButtonControl::StaticClass())
                .Set("Anchors", &B::GetAnchors, &B::SetAnchors, AnchorKindInfo()).Default(DefaultAnchors)
                .Boolean("Cancel", &B::GetCancel, &B::SetCancel).Default(false)
                .String("Caption", &B::GetCaption, &B::SetCaption)
                .Object("Constraints", &B::GetConstraints, &B::SetConstraints)
                .Boolean("Default", &B::GetDefault, &B::SetDefault).Default(false)
                .Integer("DragCursor", &B::GetDragCursor, &B::SetDragCursor).Idents(CursorIdents()).Default(crDrag)
                .Enum("DragKind", &B::GetDragKind, &B::SetDragKind, DragKindInfo()).Default(dkDrag)
                .Enum("DragMode", &B::GetDragMode, &B::SetDragMode, DragModeInfo()).Default(dmManual)
                .Boolean("Enabled", &B::GetEnabled, &B::SetEnabled).Default(true)
                .Object("Font", &B::GetFont, &B::SetFont).Stored(FontStored<B>())
                .Integer("ModalResult", &B::GetModalResult, &B::SetModalResult).Default(mrNone)
                .Boolean("ParentFont", &B::GetParentFont, &B::SetParentFont).Default(true)
                .Boolean("ParentShowHint", &B::GetParentShowHint, &B::SetParentShowHint).Default(true)
                .Component("PopupMenu", &B::GetPopupMenu, &B::SetPopupMenu)
                .Boolean("ShowHint", &B::GetShowHint, &B::SetShowHint).Stored(ShowHintStored<B>())
                .Integer("TabOrder", &B::GetTabOrder, &B::SetTabOrder).Default(-1)
                .Boolean("TabStop", &B::GetTabStop, &B::SetTabStop).Default(true)
                .Boolean("Visible", &B::GetVisible, &B::SetVisible).Default(true));
    return &info;
}

TClass TCustomCheckBox::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TCustomCheckBox>("TCustomCheckBox", TButtonControl::StaticClass()).Abstract();
    return &info;
}

// A checked box stores both Checked and State, as the host writes it.
TClass TCheckBox::StaticClass()
{
    using B = TCheckBox;
    static const TClassInfo info =
        Events<evFocus | evKeys | evMouse>(
            TClassBuilder<B>("TCheckBox", TCustomCheckBox::StaticClass())
                .Enum("Alignment", &B::GetAlignment, &B::SetAlignment, AlignmentInfo()).Default(taRightJustify)
                .Boolean("AllowGrayed", &B::GetAllowGrayed, &B::SetAllowGrayed).Default(false)
                .Set("Anchors", &B::GetAnchors, &B::SetAnchors, AnchorKindInfo()).Default(DefaultAnchors)
                .String("Caption", &B::GetCaption, &B::SetCaption)
                .Boolean("Checked", &B::GetChecked, &B::SetChecked).Default(false)
                .Integer("Color", &B::GetColor, &B::SetColor).Idents(ColorIdentsInfo()).Default(clBtnFace).Stored(ColorStored<B>())
                .Object("Constraints", &B::GetConstraints, &B::SetConstraints)
                .Boolean("Ctl3D", &B::GetCtl3D, &B::SetCtl3D).Stored(Ctl3DStored<B>())
                .Integer("DragCursor", &B::GetDragCursor, &B::SetDragCursor).Idents(CursorIdents()).Default(crDrag)
                .Enum("DragKind", &B::GetDragKind, &B::SetDragKind, DragKindInfo()).Default(dkDrag)
                .Enum("DragMode", &B::GetDragMode, &B::SetDragMode, DragModeInfo()).Default(dmManual)
                .Boolean("Enabled", &B::GetEnabled, &B::SetEnabled).Default(true)
                .Object("Font", &B::GetFont, &B::SetFont).Stored(FontStored<B>())
                .Boolean("ParentColor", &B::GetParentColor, &B::SetParentColor).Default(true)
                .Boolean("ParentFont", &B::GetParentFont, &B::SetParentFont).Default(true)
                .Boolean("ParentShowHint", &B::GetParentShowHint, &B::SetParentShowHint).Default(true)
                .Component("PopupMenu", &B::GetPopupMenu, &B::SetPopupMenu)
                .Boolean("ShowHint", &B::GetShowHint, &B::SetShowHint).Stored(ShowHintStored<B>())
                .Enum("State", &B::GetState, &B::SetState, CheckBoxStateInfo()).Default(cbUnchecked)
                .Integer("TabOrder", &B::GetTabOrder, &B::SetTabOrder).Default(-1)
                .Boolean("TabStop", &B::GetTabStop, &B::SetTabStop).Default(true)
                .Boolean("Visible", &B::GetVisible, &B::SetVisible).Default(true));
    return &info;
}

TClass TCustomComboBox::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TCustomComboBox>("TCustomComboBox", TWinControl::StaticClass()).Abstract();
    return &info;
}

// Style comes first, so that the entries and the text read after it meet
// the right kind of box; Items comes last, as the host stores it.
TClass TComboBox::StaticClass()
{
    using B = TComboBox;
    static const TClassInfo info =
        Events<evChange | evDblClick | evDropDown | evFocus | evKeys>(
            TClassBuilder<B>("TComboBox", TCustomComboBox::StaticClass())
                .Enum("Style", &B::GetStyle, &B::SetStyle, ComboBoxStyleInfo()).Default(csDropDown)
                .Set("Anchors", &B::GetAnchors, &B::SetAnchors, AnchorKindInfo()).Default(DefaultAnchors)
                .Integer("Color", &B::GetColor, &B::SetColor).Idents(ColorIdentsInfo()).Default(clWindow).Stored(ColorStored<B>())
                .Object("Constraints", &B::GetConstraints, &B::SetConstraints)
                .Boolean("Ctl3D", &B::GetCtl3D, &B::SetCtl3D).Stored(Ctl3DStored<B>())
                .Integer("DragCursor", &B::GetDragCursor, &B::SetDragCursor).Idents(CursorIdents()).Default(crDrag)
                .Enum("DragKind", &B::GetDragKind, &B::SetDragKind, DragKindInfo()).Default(dkDrag)
                .Enum("DragMode", &B::GetDragMode, &B::SetDragMode, DragModeInfo()).Default(dmManual)
                .Integer("DropDownCount", &B::GetDropDownCount, &B::SetDropDownCount).Default(8)
                .Boolean("Enabled", &B::GetEnabled, &B::SetEnabled).Default(true)
                .Object("Font", &B::GetFont, &B::SetFont).Stored(FontStored<B>())
                .Integer("ItemHeight", &B::GetItemHeight, &B::SetItemHeight).Default(16)
                .Integer("MaxLength", &B::GetMaxLength, &B::SetMaxLength).Default(0)
                .Boolean("ParentColor", &B::GetParentColor, &B::SetParentColor).Default(false)
                .Boolean("ParentCtl3D", &B::GetParentCtl3D, &B::SetParentCtl3D).Default(true)
                .Boolean("ParentFont", &B::GetParentFont, &B::SetParentFont).Default(true)
                .Boolean("ParentShowHint", &B::GetParentShowHint, &B::SetParentShowHint).Default(true)
                .Component("PopupMenu", &B::GetPopupMenu, &B::SetPopupMenu)
                .Boolean("ShowHint", &B::GetShowHint, &B::SetShowHint).Stored(ShowHintStored<B>())
                .Boolean("Sorted", &B::GetSorted, &B::SetSorted).Default(false)
                .Integer("TabOrder", &B::GetTabOrder, &B::SetTabOrder).Default(-1)
                .Boolean("TabStop", &B::GetTabStop, &B::SetTabStop).Default(true)
                .String("Text", &B::GetText, &B::SetText)
                .Boolean("Visible", &B::GetVisible, &B::SetVisible).Default(true))
            .Object("Items", &B::GetItems, &B::SetItems);
    return &info;
}

TClass TCustomGroupBox::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TCustomGroupBox>("TCustomGroupBox", TCustomControl::StaticClass()).Abstract();
    return &info;
}

TClass TGroupBox::StaticClass()
{
    using B = TGroupBox;
    static const TClassInfo info =
        Events<evDblClick | evFocus | evMouse>(
            TClassBuilder<B>("TGroupBox", TCustomGroupBox::StaticClass())
                .Enum("Align", &B::GetAlign, &B::SetAlign, AlignInfo()).Default(alNone)
                .Set("Anchors", &B::GetAnchors, &B::SetAnchors, AnchorKindInfo()).Default(DefaultAnchors)
                .String("Caption", &B::GetCaption, &B::SetCaption)
                .Integer("Color", &B::GetColor, &B::SetColor).Idents(ColorIdentsInfo()).Default(clWindow).Stored(ColorStored<B>())
                .Object("Constraints", &B::GetConstraints, &B::SetConstraints)
                .Boolean("Ctl3D", &B::GetCtl3D, &B::SetCtl3D).Stored(Ctl3DStored<B>())
                .Integer("DragCursor", &B::GetDragCursor, &B::SetDragCursor).Idents(CursorIdents()).Default(crDrag)
                .Enum("DragKind", &B::GetDragKind, &B::SetDragKind, DragKindInfo()).Default(dkDrag)
                .Enum("DragMode", &B::GetDragMode, &B::SetDragMode, DragModeInfo()).Default(dmManual)
                .Boolean("Enabled", &B::GetEnabled, &B::SetEnabled).Default(true)
                .Object("Font", &B::GetFont, &B::SetFont).Stored(FontStored<B>())
                .Boolean("ParentColor", &B::GetParentColor, &B::SetParentColor).Default(true)
                .Boolean("ParentCtl3D", &B::GetParentCtl3D, &B::SetParentCtl3D).Default(true)
                .Boolean("ParentFont", &B::GetParentFont, &B::SetParentFont).Default(true)
                .Boolean("ParentShowHint", &B::GetParentShowHint, &B::SetParentShowHint).Default(true)
                .Component("PopupMenu", &B::GetPopupMenu, &B::SetPopupMenu)
                .Boolean("ShowHint", &B::GetShowHint, &B::SetShowHint).Stored(ShowHintStored<B>())
                .Integer("TabOrder", &B::GetTabOrder, &B::SetTabOrder).Default(-1)
                .Boolean("TabStop", &B::GetTabStop, &B::SetTabStop).Default(false)
                .Boolean("Visible", &B::GetVisible, &B::SetVisible).Default(true));
    return &info;
}

TClass TCustomLabel::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TCustomLabel>("TCustomLabel", TGraphicControl::StaticClass()).Abstract();
    return &info;
}

TClass TLabel::StaticClass()
{
    using B = TLabel;
    static const TClassInfo info =
        Events<evDblClick | evMouse>(
            TClassBuilder<B>("TLabel", TCustomLabel::StaticClass())
                .Enum("Align", &B::GetAlign, &B::SetAlign, AlignInfo()).Default(alNone)
                .Enum("Alignment", &B::GetAlignment, &B::SetAlignment, AlignmentInfo()).Default(taLeftJustify)
                .Set("Anchors", &B::GetAnchors, &B::SetAnchors, AnchorKindInfo()).Default(DefaultAnchors)
                .Boolean("AutoSize", &B::GetAutoSize, &B::SetAutoSize).Default(true)
                .String("Caption", &B::GetCaption, &B::SetCaption)
                .Integer("Color", &B::GetColor, &B::SetColor).Idents(ColorIdentsInfo()).Default(clWindow).Stored(ColorStored<B>())
                .Object("Constraints", &B::GetConstraints, &B::SetConstraints)
                .Integer("DragCursor", &B::GetDragCursor, &B::SetDragCursor).Idents(CursorIdents()).Default(crDrag)
                .Enum("DragKind", &B::GetDragKind, &B::SetDragKind, DragKindInfo()).Default(dkDrag)
                .Enum("DragMode", &B::GetDragMode, &B::SetDragMode, DragModeInfo()).Default(dmManual)
                .Boolean("Enabled", &B::GetEnabled, &B::SetEnabled).Default(true)
                .Component("FocusControl", &B::GetFocusControl, &B::SetFocusControl)
                .Object("Font", &B::GetFont, &B::SetFont).Stored(FontStored<B>())
                .Boolean("ParentColor", &B::GetParentColor, &B::SetParentColor).Default(true)
                .Boolean("ParentFont", &B::GetParentFont, &B::SetParentFont).Default(true)
                .Boolean("ParentShowHint", &B::GetParentShowHint, &B::SetParentShowHint).Default(true)
                .Component("PopupMenu", &B::GetPopupMenu, &B::SetPopupMenu)
                .Boolean("ShowAccelChar", &B::GetShowAccelChar, &B::SetShowAccelChar).Default(true)
                .Boolean("ShowHint", &B::GetShowHint, &B::SetShowHint).Stored(ShowHintStored<B>())
                .Boolean("Transparent", &B::GetTransparent, &B::SetTransparent).Default(false)
                .Enum("Layout", &B::GetLayout, &B::SetLayout, TextLayoutInfo()).Default(tlTop)
                .Boolean("Visible", &B::GetVisible, &B::SetVisible).Default(true)
                .Boolean("WordWrap", &B::GetWordWrap, &B::SetWordWrap).Default(false));
    return &info;
}

} // namespace ld
