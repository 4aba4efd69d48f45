// The standard controls, as the host's unit StdCtrls names them: the edit and
// the memo (one text engine: caret, selection, typing, clipboard, wrapping and
// scrolling), the push button, the check box, the combo box with its drop-down
// list, the group box and the label. Each windowed control behaves as the
// window class it stands in for: its DefaultHandler does what the system's
// class does with a message after the class library's own handling (events
// first, then the class), so a subclass can change keys before the control
// sees them.
//
// Index: enumerations; TCustomEdit, TEdit; TCustomMemo, TMemo;
// TButtonControl, TButton; TCustomCheckBox, TCheckBox; TCustomComboBox,
// TComboBox; TCustomGroupBox, TGroupBox; TCustomLabel, TLabel.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Strings.h"
#include "platform/stdctrls/ScrollBar.h"
#include "platform/vcl/Controls.h"

namespace ld {

// ---- enumerations ----------------------------------------------------------------

enum TEditCharCase : Byte { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle : Byte { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TComboBoxStyle : Byte { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
enum TAlignment : Byte { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout : Byte { tlTop, tlCenter, tlBottom };

const TEnumInfo& EditCharCaseInfo();
const TEnumInfo& ScrollStyleInfo();
const TEnumInfo& ComboBoxStyleInfo();
const TEnumInfo& AlignmentInfo();
const TEnumInfo& TextLayoutInfo();
// Border styles of the edit and memo (bsNone, bsSingle).
const TEnumInfo& EditBorderStyleInfo();

// The caret's blink period in milliseconds.
constexpr UINT CaretBlinkTime = 500;

// ---- TCustomEdit -------------------------------------------------------------------

// One displayed line of an edit: where it starts in the text and how many
// characters it shows (the line break that ends it is not counted).
struct TEditLine {
    Integer Start = 0;
    Integer Length = 0;
};

class TCustomEdit : public TWinControl {
    LD_CLASS(TCustomEdit, TWinControl)

    explicit TCustomEdit(TComponent* owner);
    ~TCustomEdit() override;

    // Selection: the anchor stays where it began, the caret end moves.
    Integer GetSelStart() const;
    void SetSelStart(Integer value);
    Integer GetSelLength() const;
    void SetSelLength(Integer value);
    std::string GetSelText() const;
    void SetSelText(const std::string& value);
    void SelectAll();
    void ClearSelection();
    void Clear() { SetText({}); }
    // The caret's place in the text, which the anchor of a selection may differ from.
    Integer GetCaretIndex() const { return FCaret; }

    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    // One level, as the system's edit has: the last change by the user (a
    // run of typing counts as one), or the undo itself.
    bool CanUndo() const { return FCanUndo; }
    void Undo();

    bool GetModified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }
    Integer GetMaxLength() const { return FMaxLength; }
    void SetMaxLength(Integer value);
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool GetAutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool value) { FAutoSelect = value; }
    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TEditCharCase GetCharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase value);
    bool GetHideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    bool GetOEMConvert() const { return FOEMConvert; }
    void SetOEMConvert(bool value) { FOEMConvert = value; }
    char GetPasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char value);
    // A stored form keeps the password character as a one-character string.
    std::string GetPasswordCharText() const { return FPasswordChar ? std::string(1, FPasswordChar) : std::string(); }
    void SetPasswordCharText(const std::string& v) { SetPasswordChar(v.empty() ? char(0) : v[0]); }

    TNotifyEvent GetOnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent v) { FOnChange = v; }

    // Whether the caret is drawn now (it blinks while the edit has the focus).
    bool CaretShown() const { return FCaretOn && Focused(); }
    // The displayed lines, laid out for the current width.
    const std::vector<TEditLine>& DisplayLines();
    Integer GetTopLine() const { return FTopLine; }

    void Dispatch(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    // A control with children paints this way, not through DefaultHandler.
    void PaintWindow(HDC dc) override { PaintEdit(dc); }

protected:
    virtual void Change();
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;

    // Multi-line behaviour, which the memo switches on.
    virtual bool IsMultiLine() const { return false; }
    virtual bool WrapsWords() const { return false; }
    // Whether typed returns and tabs become text.
    virtual bool TakesReturns() const { return false; }
    // How each displayed line sits between the sides (the memo's Alignment).
    virtual TAlignment WrapAlignment() const { return taLeftJustify; }
    // Whether a vertical scroll bar stands at the right of the client area.
    virtual bool HasVerticalBar() const { return false; }

    // The edit's new height for its font (AutoSize), kept while reading.
    void AdjustHeight();
    // Marks the layout stale and repaints.
    void TextLayoutChanged();
    // Replaces the selection with Text as typing would (MaxLength, ReadOnly
    // and CharCase apply); false when nothing could be inserted.
    bool InsertText(std::string text);
    // Replaces the text's range [From, To) with Text as SetText replaces the
    // whole (OnChange fires; the caret goes to the start unless the user
    // typed it), at the cost of the change, not of the text.
    void ChangeText(Integer from, Integer to, std::string_view text);
    // The lines of the text as its line breaks end them, without wrapping.
    const std::vector<TEditLine>& Paragraphs();

    void CMTextChanged(TMessage& m);
    void CMEnter(TMessage& m);
    void CMFontChanged(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void CMColorChanged(TMessage& m);

    Integer FMaxLength = 0;
    bool FReadOnly = false;
    bool FAutoSelect = true;
    bool FAutoSize = true;
    bool FHideSelection = true;
    bool FOEMConvert = false;
    bool FModified = false;
    char FPasswordChar = 0;
    TBorderStyle FBorderStyle = bsSingle;
    TEditCharCase FCharCase = ecNormal;
    TNotifyEvent FOnChange;

private:
    // Text engine (EditText.cpp).
    struct TMetrics {
        bool Valid = false;
        Integer Height = 0;
        Integer AveWidth = 0;
        std::array<Integer, 256> Widths{};
    };
    const TMetrics& Metrics();
    TRect FormatRect();
    Integer CharWidth(Integer index, Integer xInLine) const;
    Integer LineWidthUpTo(const TEditLine& line, Integer count);
    Integer IndexAtX(const TEditLine& line, Integer x);
    Integer LineOffset(const TEditLine& line);
    void Layout();
    Integer LayoutParagraphs(std::vector<TEditLine>& lines, Integer start, Integer until, bool wrap, Integer width);
    void SpliceLines(std::vector<TEditLine>& lines, Integer from, Integer oldTo, Integer newTo, bool wrap, Integer width);
    void WrapParagraph(std::vector<TEditLine>& lines, Integer start, Integer end, Integer width);
    Integer LineOf(Integer index);
    Integer IndexAtPoint(TPoint p);
    TPoint CaretPoint();
    Integer BreakLengthAt(Integer index) const;
    Integer BreakLengthBefore(Integer index) const;
    Integer PrevIndex(Integer index) const;
    Integer NextIndex(Integer index) const;
    Integer WordStartBefore(Integer index) const;
    Integer WordEndAfter(Integer index) const;
    void SelectWordAt(Integer index);
    void MoveCaret(Integer index, bool extend, bool keepColumn = false);
    void ScrollCaretIntoView();
    void ReplaceRange(Integer from, Integer to, const std::string& text);
    void UserReplace(Integer from, Integer to, const std::string& text);
    void DeleteBack();
    void DeleteForward();

    // Window class behaviour (Edit.cpp).
    void PaintEdit(HDC dc);
    HBRUSH BackgroundBrush();
    void PaintLine(HDC dc, const TEditLine& line, Integer y, const TRect& area, bool showSelection);
    // The vertical scroll bar: its place, its look, a press held on it, and
    // the scrolling it asks for (WM_VSCROLL).
    TRect VerticalBarRect();
    TScrollRange VerticalRange();
    void PaintVerticalBar(HDC dc);
    // A multi-line edit scrolls by the wheel's lines; false when it does not.
    bool ScrollByWheel(WPARAM wParam);
    TScrollBarTracker& VerticalBarTracker();
    void VScroll(Word request, Integer position);
    void HandleKeyDown(TMessage& m);
    void HandleChar(TMessage& m);
    void HandleMouse(TMessage& m);
    void StartCaret();
    void StopCaret();
    void ResetBlink();
    void InvalidateCaret();

    Integer FAnchor = 0;
    Integer FCaret = 0;
    Integer FScrollX = 0;
    Integer FTopLine = 0;
    Integer FWantX = -1;          // the column up and down keep, in pixels
    bool FCaretOn = false;
    bool FMouseSelecting = false;
    bool FEditing = false;        // a change typed by the user, not set from code
    bool FLayoutValid = false;
    Integer FLayoutWidth = -1;
    std::vector<TEditLine> FLines;
    std::vector<TEditLine> FParagraphs;   // laid out when first asked for
    bool FParagraphsValid = false;
    bool FTextSpliced = false;    // the text change under way patched the lines itself
    TMetrics FMetrics;
    std::string FUndoText;
    Integer FUndoAnchor = 0, FUndoCaret = 0;
    bool FCanUndo = false;
    Integer FTypingEnd = -1;      // where the run of typing being undone as one ends
    Integer FWheelTurn = 0;       // the part of a notch the wheel has turned
    std::unique_ptr<TScrollBarTracker> FBarTracker;
};

class TEdit : public TCustomEdit {
    LD_CLASS(TEdit, TCustomEdit)
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

// ---- TCustomMemo -------------------------------------------------------------------

class TCustomMemo;

// The memo's text seen as lines: a line ends at a line break; a break at the
// very end starts no further line.
class TMemoStrings : public TStrings {
    LD_CLASS(TMemoStrings, TStrings)

    explicit TMemoStrings(TCustomMemo* memo) : FMemo(memo) {}
    Integer Count() const override;
    std::string Get(Integer index) const override;
    void Put(Integer index, const std::string& s) override;
    void Insert(Integer index, const std::string& s) override;
    void Delete(Integer index) override;
    void Clear() override;

private:
    // Line Index, or EListError.
    const TEditLine& Line(Integer index) const;
    TCustomMemo* FMemo;
};

class TCustomMemo : public TCustomEdit {
    LD_CLASS(TCustomMemo, TCustomEdit)
    friend class TMemoStrings;

    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;

    TStrings* GetLines() const { return FLines; }
    void SetLines(TStrings* value) { FLines->Assign(value); }
    bool GetWordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool GetWantReturns() const { return FWantReturns; }
    void SetWantReturns(bool value) { FWantReturns = value; }
    bool GetWantTabs() const { return FWantTabs; }
    void SetWantTabs(bool value) { FWantTabs = value; }
    TScrollStyle GetScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // The caret as line and column of the text's lines.
    TPoint GetCaretPos() const;

    void KeyPress(char& key) override;
    void Dispatch(TMessage& message) override;

protected:
    bool IsMultiLine() const override { return true; }
    bool WrapsWords() const override { return FWordWrap; }
    bool TakesReturns() const override { return true; }
    TAlignment WrapAlignment() const override { return FAlignment; }
    bool HasVerticalBar() const override { return FScrollBars == ssVertical || FScrollBars == ssBoth; }
    void WMGetDlgCode(TMessage& m);

    TMemoStrings* FLines;
    bool FWordWrap = true;
    bool FWantReturns = true;
    bool FWantTabs = false;
    TScrollStyle FScrollBars = ssNone;
    TAlignment FAlignment = taLeftJustify;
};

class TMemo : public TCustomMemo {
    LD_CLASS(TMemo, TCustomMemo)
    explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

// ---- TButton -----------------------------------------------------------------------

// What push buttons and check boxes share: the press. The left button held
// on the control, or Space held while it has the focus, draws it pressed
// (while the pointer stays on it); the release there pushes it.
class TButtonControl : public TWinControl {
    LD_CLASS(TButtonControl, TWinControl)
    explicit TButtonControl(TComponent* owner);

    bool IsPressed() const { return FPressed; }

    // What both share: a repaint when the look's inputs change, the press,
    // painting through PaintWindow and a repaint as the focus comes and goes.
    void Dispatch(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;

protected:
    // What a release on the control does (a button clicks, a box toggles).
    virtual void Pushed() {}
    // The answer to WM_GETDLGCODE.
    virtual LRESULT DialogCode() const { return DLGC_BUTTON; }
    // Repaints at once.
    void SetPressed(bool value);
    // Follows the press through the window class's mouse, key and focus
    // messages; true when the message needs nothing more.
    bool TrackPress(TMessage& m);
    // The caption in the font's colour, or embossed grey while disabled.
    void DrawCaption(HDC dc, const TRect& rect, UINT format);

    bool FPressed = false;
    bool FTracking = false;
    bool FSpaceDown = false;
};

class TButton : public TButtonControl {
    LD_CLASS(TButton, TButtonControl)

    explicit TButton(TComponent* owner);

    bool GetDefault() const { return FDefault; }
    void SetDefault(bool value);
    bool GetCancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    TModalResult GetModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    // Whether Enter clicks this button now: it is the default button and no
    // other button has the focus, or it has the focus itself.
    bool IsActive() const { return FActive; }

    void Click() override;
    void Dispatch(TMessage& message) override;
    void PaintWindow(HDC dc) override { PaintButton(dc); }

protected:
    void CreateParams(TCreateParams& params) override;
    void Pushed() override { Click(); }
    LRESULT DialogCode() const override { return DLGC_BUTTON | (FActive ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON); }
    void PaintButton(HDC dc);
    void SetActive(bool value);
    void CMDialogKey(TMessage& m);
    void CMDialogChar(TMessage& m);
    void CMFocusChanged(TMessage& m);

    bool FDefault = false;
    bool FCancel = false;
    bool FActive = false;
    TModalResult FModalResult = mrNone;
};

// ---- TCustomCheckBox -----------------------------------------------------------------

enum TCheckBoxState : Byte { cbUnchecked, cbChecked, cbGrayed };
const TEnumInfo& CheckBoxStateInfo();

class TCustomCheckBox : public TButtonControl {
    LD_CLASS(TCustomCheckBox, TButtonControl)

    explicit TCustomCheckBox(TComponent* owner);

    // The caption's side of the box: taRightJustify (the default) puts it at
    // the right, taLeftJustify at the left.
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    bool GetAllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value) { FAllowGrayed = value; }
    TCheckBoxState GetState() const { return FState; }
    // A change repaints the box at once and fires OnClick.
    void SetState(TCheckBoxState value);
    bool GetChecked() const { return FState == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    // Where the box is drawn, in client pixels.
    TRect BoxRect() const;

    void Dispatch(TMessage& message) override;
    void PaintWindow(HDC dc) override { PaintCheckBox(dc); }

protected:
    // The next state: unchecked, (grayed when AllowGrayed,) checked, unchecked.
    virtual void Toggle();
    void Pushed() override { Toggle(); }
    void PaintCheckBox(HDC dc);
    void CMDialogChar(TMessage& m);

    TAlignment FAlignment = taRightJustify;
    bool FAllowGrayed = false;
    TCheckBoxState FState = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
    LD_CLASS(TCheckBox, TCustomCheckBox)
    explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};

// ---- TCustomComboBox -----------------------------------------------------------------

class TComboEdit;

class TCustomComboBox : public TWinControl {
    LD_CLASS(TCustomComboBox, TWinControl)

    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TStrings* GetItems() const { return FItems; }
    void SetItems(TStrings* value) { FItems->Assign(value); }
    Integer GetItemIndex() const { return FItemIndex; }
    void SetItemIndex(Integer value);
    Integer GetItemHeight() const { return FItemHeight; }
    void SetItemHeight(Integer value);
    TComboBoxStyle GetStyle() const { return FStyle; }
    void SetStyle(TComboBoxStyle value);
    Integer GetDropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(Integer value) { FDropDownCount = value; }
    Integer GetMaxLength() const { return FMaxLength; }
    void SetMaxLength(Integer value);
    bool GetSorted() const { return FSorted; }
    void SetSorted(bool value);
    bool GetDroppedDown() const { return FListWindow != nullptr; }
    void SetDroppedDown(bool value);
    // The entry the open list marks (it follows the pointer and the arrows).
    Integer GetListIndex() const { return FListIndex; }
    // The open list's window, for tests and screenshots.
    HWND GetListHandle() const { return FListWindow; }
    // The edit part of a csDropDown combo box, or nullptr.
    TCustomEdit* GetEditPart() const;

    TNotifyEvent GetOnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent v) { FOnChange = v; }
    TNotifyEvent GetOnDropDown() const { return FOnDropDown; }
    void SetOnDropDown(TNotifyEvent v) { FOnDropDown = v; }

    void Dispatch(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    // With a child (the edit part) the paint comes this way, not to DefaultHandler.
    void PaintWindow(HDC dc) override { PaintCombo(dc); }
    void SetBounds(Integer left, Integer top, Integer width, Integer height) override;

protected:
    virtual void Change();
    virtual void DropDown();
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Loaded() override;

private:
    friend class TComboEdit;
    friend struct TComboListAccess;
    void ItemsChanged(TObject* sender);
    void PaintCombo(HDC dc);
    TRect ButtonRect() const;
    TRect FieldRect() const;
    void OpenList();
    void CloseList(bool choose);
    void ChooseByUser(Integer index);
    void ScrollList(Integer first);
    bool HandleComboKey(Word key, TShiftState shift);
    void HandleMouse(TMessage& m);
    void UpdateEditPart();
    void SyncEditPart();
    Integer ListIndexAtScreen(TPoint screen) const;
    // The open list's rows and its scroll bar, which it has when not every
    // entry fits.
    Integer ListRows() const;
    bool ListHasBar() const { return FItems->Count() > ListRows(); }
    TRect ListBarRect() const;
    TScrollRange ListRange() const { return {FListTop, ListRows(), FItems->Count()}; }
    TScrollBarTracker& ListBarTracker();
    bool TrackingListBar() const { return FListBarTracker && FListBarTracker->Tracking(); }

    TStringList* FItems;
    Integer FItemIndex = -1;
    Integer FItemHeight = 16;
    Integer FDropDownCount = 8;
    Integer FMaxLength = 0;
    bool FSorted = false;
    TComboBoxStyle FStyle = csDropDown;
    TNotifyEvent FOnChange, FOnDropDown;
    HWND FListWindow = nullptr;
    Integer FListIndex = -1;
    Integer FListTop = 0;          // the first entry the open list shows
    bool FButtonDown = false;      // the press that opened the list is still held
    bool FLeftField = false;       // since that press the pointer went into the list
    TComboEdit* FEdit = nullptr;
    bool FSettingIndex = false;    // the edit part's text comes from ItemIndex
    Integer FWheelTurn = 0;        // the part of a notch the wheel has turned
    std::unique_ptr<TScrollBarTracker> FListBarTracker;
};

class TComboBox : public TCustomComboBox {
    LD_CLASS(TComboBox, TCustomComboBox)
    explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

// ---- TCustomGroupBox ----------------------------------------------------------------

class TCustomGroupBox : public TCustomControl {
    LD_CLASS(TCustomGroupBox, TCustomControl)

    explicit TCustomGroupBox(TComponent* owner);
    void AdjustClientRect(TRect& rect) override;
    void Dispatch(TMessage& message) override;

protected:
    void Paint() override;
    void CMDialogChar(TMessage& m);
};

class TGroupBox : public TCustomGroupBox {
    LD_CLASS(TGroupBox, TCustomGroupBox)
    explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};

// ---- TCustomLabel --------------------------------------------------------------------

class TCustomLabel : public TGraphicControl {
    LD_CLASS(TCustomLabel, TGraphicControl)

    explicit TCustomLabel(TComponent* owner);

    TWinControl* GetFocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);
    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool GetTransparent() const { return !FControlStyle.Contains(csOpaque); }
    void SetTransparent(bool value);
    bool GetShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    bool GetWordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout GetLayout() const { return FLayout; }
    void SetLayout(TTextLayout value);

    void Notification(TComponent* component, TOperation operation) override;
    void Dispatch(TMessage& message) override;

protected:
    void Paint() override;
    // Fits the bounds to the caption (AutoSize); not while reading, so a
    // stored size comes back as it was written.
    void AdjustBounds();
    void DoDrawText(HDC dc, TRect& rect, UINT flags);
    void CMDialogChar(TMessage& m);

    TWinControl* FFocusControl = nullptr;
    bool FAutoSize = true;
    bool FShowAccelChar = true;
    bool FWordWrap = false;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;

private:
    // The font the bounds were last fitted to: a parent handing down an equal
    // font changes nothing.
    std::string FFittedFont;
};

class TLabel : public TCustomLabel {
    LD_CLASS(TLabel, TCustomLabel)
    explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};

} // namespace ld
