// The class library's control vocabulary: the control notifications (CM_) and
// the reflected messages (CN_), alignment, mouse buttons and shift states,
// control styles and states, cursors, drag and drop kinds and the event types.
#pragma once

#include "platform/core/Events.h"
#include "platform/core/Set.h"
#include "platform/core/TypeInfo.h"
#include "platform/core/Types.h"
#include "platform/win/Messages.h"

namespace ld {

class TObject;

// Control notifications. Each is sent with Perform, never through the queue.
enum : UINT {
    CM_BASE = 0xB000,
    CM_ACTIVATE = CM_BASE + 0,
    CM_DEACTIVATE = CM_BASE + 1,
    CM_GOTFOCUS = CM_BASE + 2,
    CM_LOSTFOCUS = CM_BASE + 3,
    CM_CANCELMODE = CM_BASE + 4,        // lParam: the control that takes the mouse
    CM_DIALOGKEY = CM_BASE + 5,         // wParam: virtual key; Result 1 when used
    CM_DIALOGCHAR = CM_BASE + 6,        // wParam: character; Result 1 when used
    CM_FOCUSCHANGED = CM_BASE + 7,
    CM_PARENTFONTCHANGED = CM_BASE + 8,
    CM_PARENTCOLORCHANGED = CM_BASE + 9,
    CM_HITTEST = CM_BASE + 10,
    CM_VISIBLECHANGED = CM_BASE + 11,   // wParam: the new Visible
    CM_ENABLEDCHANGED = CM_BASE + 12,
    CM_COLORCHANGED = CM_BASE + 13,
    CM_FONTCHANGED = CM_BASE + 14,
    CM_CURSORCHANGED = CM_BASE + 15,
    CM_CTL3DCHANGED = CM_BASE + 16,
    CM_PARENTCTL3DCHANGED = CM_BASE + 17,
    CM_TEXTCHANGED = CM_BASE + 18,
    CM_MOUSEENTER = CM_BASE + 19,       // lParam: the control entered (0 from outside)
    CM_MOUSELEAVE = CM_BASE + 20,
    CM_MENUCHANGED = CM_BASE + 21,
    CM_APPKEYDOWN = CM_BASE + 22,
    CM_APPSYSCOMMAND = CM_BASE + 23,
    CM_BUTTONPRESSED = CM_BASE + 24,
    CM_SHOWINGCHANGED = CM_BASE + 25,
    CM_ENTER = CM_BASE + 26,
    CM_EXIT = CM_BASE + 27,
    CM_DESIGNHITTEST = CM_BASE + 28,    // wParam: keys, lParam: client point; Result 1 hands the mouse to the control
    CM_ICONCHANGED = CM_BASE + 29,
    CM_WANTSPECIALKEY = CM_BASE + 30,
    CM_INVOKEHELP = CM_BASE + 31,
    CM_WINDOWHOOK = CM_BASE + 32,
    CM_RELEASE = CM_BASE + 33,
    CM_SHOWHINTCHANGED = CM_BASE + 34,
    CM_PARENTSHOWHINTCHANGED = CM_BASE + 35,
    CM_SYSCOLORCHANGE = CM_BASE + 36,
    CM_WININICHANGE = CM_BASE + 37,
    CM_FONTCHANGE = CM_BASE + 38,
    CM_TIMECHANGE = CM_BASE + 39,
    CM_TABSTOPCHANGED = CM_BASE + 40,
    CM_UIACTIVATE = CM_BASE + 41,
    CM_UIDEACTIVATE = CM_BASE + 42,
    CM_DOCWINDOWACTIVATE = CM_BASE + 43,
    CM_CONTROLLISTCHANGE = CM_BASE + 44,
    CM_GETDATALINK = CM_BASE + 45,
    CM_CHILDKEY = CM_BASE + 46,
    CM_DRAG = CM_BASE + 47,             // wParam: TDragMessage, lParam: TDragRec*
    CM_HINTSHOW = CM_BASE + 48,
    CM_DIALOGHANDLE = CM_BASE + 49,
    CM_ISTOOLCONTROL = CM_BASE + 50,
    CM_RECREATEWND = CM_BASE + 51,
    CM_INVALIDATE = CM_BASE + 52,
    CM_MOUSEWHEEL = CM_BASE + 67,       // wParam: TShiftState bits (low word), delta (high); lParam: screen point
};

// Messages the application reflects to a control before it dispatches them.
enum : UINT {
    CN_BASE = 0xBC00,
    CN_KEYDOWN = CN_BASE + WM_KEYDOWN,
    CN_KEYUP = CN_BASE + WM_KEYUP,
    CN_CHAR = CN_BASE + WM_CHAR,
    CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN,
    CN_SYSCHAR = CN_BASE + WM_SYSCHAR,
};

enum TAlign : Byte { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TMouseButton : Byte { mbLeft, mbRight, mbMiddle };

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem, uint8_t>;

enum TControlStyleItem {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents,
};
using TControlStyle = TSet<TControlStyleItem, uint32_t>;

enum TControlStateItem {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
    csDocking,
};
using TControlState = TSet<TControlStateItem, uint16_t>;

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind, uint8_t>;

// Cursors: indexes into Screen.Cursors.
using TCursor = int16_t;
enum : TCursor {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSize = -22,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crDrag = -12,
    crNoDrop = -13,
    crHSplit = -14,
    crVSplit = -15,
    crMultiDrag = -16,
    crSQLWait = -17,
    crNo = -18,
    crAppStart = -19,
    crHelp = -20,
    crHandPoint = -21,
    crSizeAll = -22,
};

enum TDragMode : Byte { dmManual, dmAutomatic };
enum TDragState : Byte { dsDragEnter, dsDragLeave, dsDragMove };
enum TDragKind : Byte { dkDrag, dkDock };
enum TDragMessage : Byte { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };

enum TBorderStyle : Byte { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TFormBorderStyle = TBorderStyle;

using TModalResult = Integer;
enum : TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7, mrAll = 8 };

class TControl;
class TDragObject;

using TMouseEvent = TClosure<TObject*, TMouseButton, TShiftState, Integer, Integer>;
using TMouseMoveEvent = TClosure<TObject*, TShiftState, Integer, Integer>;
using TKeyEvent = TClosure<TObject*, Word&, TShiftState>;
using TKeyPressEvent = TClosure<TObject*, char&>;
using TDragOverEvent = TClosure<TObject*, TObject*, Integer, Integer, TDragState, bool&>;
using TDragDropEvent = TClosure<TObject*, TObject*, Integer, Integer>;
using TEndDragEvent = TClosure<TObject*, TObject*, Integer, Integer>;
using TStartDragEvent = TClosure<TObject*, TDragObject*&>;
using TStartDockEvent = TClosure<TObject*, TDragObject*&>;
using TMouseWheelEvent = TClosure<TObject*, TShiftState, Integer, TPoint, bool&>;
using TMouseWheelUpDownEvent = TClosure<TObject*, TShiftState, TPoint, bool&>;

// The record a CM_DRAG message points to.
struct TDragRec {
    TPoint Pos;              // screen coordinates
    TDragObject* Source = nullptr;
    TControl* Target = nullptr;
    bool Docking = false;
};

// Key and mouse state as the events take it.
TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyDataToShiftState(LPARAM keyData);

const TEnumInfo& AlignInfo();
const TEnumInfo& DragModeInfo();
const TEnumInfo& DragKindInfo();
const TEnumInfo& AnchorKindInfo();
const TEnumInfo& BorderStyleInfo();
const TIntegerIdents& CursorIdents();

} // namespace ld
