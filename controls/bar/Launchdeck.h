// TLaunchdeck: a vertical bar of group tabs, one per TShortcutSheet; the one
// open (active) sheet is shown as a window between the tabs above it and the
// tabs below it. TShortcutSheet: a page of the bar, normally holding one
// TShortcutList.
//
// Index: options and events; the group geometry as plain functions;
// TLaunchdeck (model, layout, painting); TShortcutSheet.
//
// Two index spaces: the sheet index is a sheet's position among all sheets of
// its bar; the visible index its position among the visible ones. Tab
// geometry, the hot tab and the pressed tab always use visible indexes.
#pragma once

#include <string>

#include "controls/list/ShortcutList.h"
#include "platform/core/List.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"

namespace ld {

class TShortcutSheet;
class TShortcutList;
class TShortcutItem;
class TShortcutEdit;
class TShortcutButton;

enum TShortcutOption : Byte { soFlatTabs, soButtonTabs, soHotTabs, soButtonItems, soAnimatedSheets };
using TShortcutOptions = TSet<TShortcutOption, uint8_t>;
const TEnumInfo& ShortcutOptionInfo();

using TSheetChangingEvent = TClosure<TObject*, bool&>;

// String-table entry of the bar's module.
constexpr UINT SInvalidSheetIndex = 65520;

// ---- group geometry ----------------------------------------------------------------

// What tab and sheet placement depend on. Active is the active sheet's visible
// index, -1 without an active sheet.
struct TGroupMetrics {
    Integer TabHeight = 0;
    bool Flat = false;
    Integer ScrollOffset = 0;
    Integer MinSheetHeight = 0;
    Integer Active = -1;
    Integer VisibleCount = 0;
    TRect Client;

    Integer Gap() const { return Flat ? 0 : 1; }
    Integer Pitch() const { return TabHeight + Gap(); }
};

// The rectangle of tab Index. Empty (all zero) without an active sheet, and,
// with CheckRange, for an index outside 0 .. VisibleCount - 1.
TRect GroupRectOf(const TGroupMetrics& m, Integer index, bool checkRange);
// Where the active sheet's window goes; empty without an active sheet.
TRect SheetRectOf(const TGroupMetrics& m);

// ---- TLaunchdeck --------------------------------------------------------------------

class TLaunchdeck : public TCustomControl {
    LD_CLASS(TLaunchdeck, TCustomControl)

    static constexpr Integer ScrollStep = 8;
    static constexpr Integer ScrollButtonHeight = 12;

    explicit TLaunchdeck(TComponent* owner);
    ~TLaunchdeck() override;

    // Sheets.
    TShortcutSheet* GetSheet(Integer index) const;
    Integer GetSheetCount() const { return FSheets->Count(); }
    TShortcutSheet* GetVisibleSheet(Integer index) const;
    Integer GetVisibleSheetCount() const;
    TShortcutSheet* NewSheet();
    void NewSheetAndList(TShortcutSheet*& sheet, TShortcutList*& list);
    void InsertSheet(TShortcutSheet* sheet);
    void RemoveSheet(TShortcutSheet* sheet);

    TShortcutSheet* GetActiveSheet() const { return FActiveSheet; }
    void SetActiveSheet(TShortcutSheet* sheet);
    // The sheet index of the hot tab, -1 when no tab is hot.
    Integer GetActiveTab() const;
    TShortcutList* GetActiveList() const;
    TShortcutItem* GetActiveItem() const;

    // Published properties.
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    Integer GetMinSheetHeight() const { return FMinSheetHeight; }
    void SetMinSheetHeight(Integer value);
    TShortcutOptions GetOptions() const { return FOptions; }
    void SetOptions(TShortcutOptions value);
    TColor GetTabColor() const { return FTabColor; }
    void SetTabColor(TColor value);
    Integer GetTabHeight() const { return FTabHeight; }
    void SetTabHeight(Integer value);
    bool IsTabHeightStored() const;
    TNotifyEvent GetOnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent value) { FOnChange = std::move(value); }
    TSheetChangingEvent GetOnChanging() const { return FOnChanging; }
    void SetOnChanging(TSheetChangingEvent value) { FOnChanging = std::move(value); }

    // The hot and the pressed tab (visible indexes, -1 for none); each change
    // repaints the tabs concerned at once.
    Integer GetActiveGroup() const { return FActiveGroup; }
    void SetActiveGroup(Integer index);
    Integer GetDownIndex() const { return FDownIndex; }
    void SetDownIndex(Integer index);

    // Group layout.
    TRect InternalGetGroupRect(Integer index, bool checkRange) const;
    TRect GetGroupRect(Integer index) const { return InternalGetGroupRect(index, true); }
    Integer GetGroupAtPos(TPoint point) const;
    void InvalidateGroup(Integer index);
    void LayoutChanged();
    void SetScrollButtons();
    void AdjustRectForButtons(TRect& rect) const;
    void EnsureSheetVisible(TShortcutSheet* sheet);
    void UpButtonClick(TObject* sender);
    void DownButtonClick(TObject* sender);
    void CheckChildren(TControl* control);
    Integer GetScrollOffset() const { return FScrollOffset; }
    TShortcutButton* GetUpButton() const { return FUpButton; }
    TShortcutButton* GetDownButton() const { return FDownButton; }

    // Colours derived from TabColor at the last paint.
    TColor GetShadowColor() const { return FShadowColor; }
    TColor GetHighlightColor() const { return FHighlightColor; }
    TColor GetLightColor() const { return FLightColor; }

    // The four tab styles, each drawing one tab into Rect of Canvas.
    void PaintCtrl3DButton(TCanvas* canvas, const TRect& rect, const std::string& caption, bool hot);
    void PaintFlatButton(TCanvas* canvas, const TRect& rect, const std::string& caption, bool hot);
    void PaintUpButton(TCanvas* canvas, const TRect& rect, const std::string& caption, bool hot);
    void PaintDownButton(TCanvas* canvas, const TRect& rect, const std::string& caption, bool hot);

    // Streaming: the sheets are the bar's only children, in sheet order.
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void SetChildOrder(TComponent* child, Integer order) override;
    void Loaded() override;
    // Opens Control when it is a sheet of this bar (asking OnChanging).
    void ShowControl(TControl* control) override;

    void Dispatch(TMessage& message) override;

    // Hooks for overriding.
    virtual void Change();
    virtual bool CanChange();

    // For the sheets: how the active sheet changes.
    void ChangeActiveSheet(TShortcutSheet* sheet);
    void InternalSetActiveSheet(TShortcutSheet* sheet);
    void FindNewActiveSheet(Integer index);

    // Opens the sheet with visible index Index, sliding the tabs first when
    // soAnimatedSheets is set and the bar is shown (asks OnChanging first).
    // Asked again while a roll runs, the running roll opens the last sheet
    // asked for instead.
    void RollInSheet(Integer index);
    // The two slides; they only draw and change no state. Neither draws
    // without a shown window or once a newer request has come.
    void RollDown(Integer index);
    void RollUp(Integer index);

    // Input: the hot tab follows the pointer, a left press marks its tab
    // pressed, and a release on the pressed tab opens it; a drag resting on a
    // tab opens it; accelerators in tab captions open their sheet.
    void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
    void MouseMove(TShiftState shift, Integer x, Integer y) override;
    void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
    void DragOver(TObject* source, Integer x, Integer y, TDragState state, bool& accept) override;
    // Opens the tab with visible index Index (nothing for -1); at design time
    // also tells the form's designer that the form changed.
    void ProcessGroupClick(Integer index);
    // The 100 ms watch of a hot tab, for a pointer that left unannounced.
    void LeaveTimerExpired(TObject* sender);
    // 200 ms after a drag first reached a tab: opens the tab under the pointer.
    void DragTimerExpired(TObject* sender);

    // In-place editing of a sheet's caption: an editor over the sheet's tab,
    // whose SEM_FINISHED applies or drops the text and frees it. Ignored while
    // an editor is open, and for a sheet without a tab on this bar.
    void EditCaption(TShortcutSheet* sheet);
    TShortcutEdit* GetCaptionEdit() const { return FEdit; }
    TShortcutSheet* GetEditSheet() const { return FEditSheet; }

    void Notification(TComponent* component, TOperation operation) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    // A notch of the wheel scrolls the tabs by one tab, in the arrows' steps.
    bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
    bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;

private:
    TGroupMetrics Metrics() const;
    bool WheelStep(TShortcutButton* button, void (TLaunchdeck::*step)(TObject*));
    bool IsColorStored() const;
    bool IsFontStored() const;
    Integer FontTabHeight() const;
    void PlaceScrollButtons();
    Integer RollToLastRequest(Integer index);
    bool ShownOnScreen() const;
    bool SlideStillWanted(Integer index, bool down) const;
    void Slide(TRect band, Integer target, bool down);
    void PaintTab(TCanvas* canvas, Integer index, const TRect& rect);
    void DrawCaption(TCanvas* canvas, TRect rect, Integer inset, const std::string& caption, bool hot);
    void BeginTab(TCanvas* canvas, const TRect& rect);

    // Messages of the input (LaunchdeckInput.cpp); false for any other.
    bool DispatchInput(TMessage& message);
    void StartLeaveTimer();
    // Hook of the sheet caption editing: the user opens a sheet; an open
    // editor ends when OnChanging allows it, before the tabs move under it.
    void RollInSheetEndingEdit(Integer index);
    void FinishCaptionEdit();
    // The edited sheet leaves the bar: the editor goes at once, and its text
    // with it; its message, should one come, is no longer for the current editor.
    void DropCaptionEdit();
    void SEMFinsihed(TMessage& message);
    void WMNCHitTest(TMessage& message);
    void WMSetCursor(TMessage& message);
    void CMMouseEnter(TMessage& message);
    void CMMouseLeave(TMessage& message);
    void CMDialogChar(TMessage& message);
    void CMDesignHitTest(TMessage& message);
    Integer GroupAtCursor() const;

    void WMSize(TMessage& message);
    void WMNCCalcSize(TMessage& message);
    void WMNCPaint(TMessage& message);
    void CMFontChanged(TMessage& message);
    void CMCtl3DChanged(TMessage& message);

    TList* FSheets;
    TShortcutSheet* FActiveSheet = nullptr;
    TBorderStyle FBorderStyle = bsSingle;
    TTimer* FDragTimer = nullptr;
    TNotifyEvent FOnChange;
    TSheetChangingEvent FOnChanging;
    Integer FTabHeight = 0;
    TColor FTabColor = clBtnFace;
    TColor FShadowColor = clBtnShadow;
    TColor FHighlightColor = clBtnHighlight;
    TColor FLightColor = clBtnFace;
    TPoint FHitPoint;
    Integer FMinSheetHeight = 0;
    TShortcutButton* FUpButton = nullptr;
    TShortcutButton* FDownButton = nullptr;
    Integer FScrollOffset = 0;
    Integer FActiveGroup = -1;
    TTimer* FLeaveTimer = nullptr;
    Integer FDownIndex = -1;
    TShortcutOptions FOptions;
    TShortcutEdit* FEdit = nullptr;
    TShortcutSheet* FEditSheet = nullptr;
    // A roll is letting messages through; a request meanwhile only replaces
    // its target (a visible index).
    bool FRolling = false;
    Integer FRollRequest = -1;
    // Set while the user opens a sheet: an allowed change ends the editor.
    bool FEndEditOnChange = false;

    friend class TShortcutSheet;
};

// ---- TShortcutSheet -------------------------------------------------------------------

class TShortcutSheet : public TWinControl, public TShortcutListSheet {
    LD_CLASS(TShortcutSheet, TWinControl)

    explicit TShortcutSheet(TComponent* owner);
    ~TShortcutSheet() override;

    TLaunchdeck* GetLaunchdeck() const { return FLaunchdeck; }
    void SetLaunchdeck(TLaunchdeck* bar);
    Integer GetSheetIndex() const;
    void SetSheetIndex(Integer value);
    Integer GetVisibleSheetIndex() const;

    // The sheet's own visibility (the published Visible); the window's
    // visibility (TControl's) is the bar's business: only the active sheet's
    // window is shown.
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool value);
    // Has a tab: visible, or always at design time.
    bool IsVisible() const;

    TShortcutList* GetShortcutList() const;
    TShortcutList* NewList();
    // What the sheet's list asks of the bar.
    bool ListFullSelect() const override;
    void OpenSheetForList() override;
    // Edits the caption in place on the sheet's tab (nothing without a bar).
    void EditCaption();

    // The bar sets the bounds; every other change is ignored.
    void SetSheetBounds(const TRect& rect);
    void SetBounds(Integer left, Integer top, Integer width, Integer height) override;

    void ReadState(TReader* reader) override;
    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    bool FlatFramed() const;
    bool IsFontStored() const;
    void CMTextChanged(TMessage& message);
    void WMNCCalcSize(TMessage& message);
    void WMNCPaint(TMessage& message);

    TLaunchdeck* FLaunchdeck = nullptr;
    bool FVisible = true;
    Integer FBoundsLock = 0;

    friend class TLaunchdeck;
};

} // namespace ld
