// Menu items and the popup menu's window and loop.
#include "platform/vcl/Menus.h"

#include <algorithm>

#include "platform/gfx/Painting.h"
#include "platform/gfx/Text.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"

namespace ld {

TClass TMenuItem::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TMenuItem>("TMenuItem", TComponent::StaticClass())
        .String("Caption", &TMenuItem::GetCaption, &TMenuItem::SetCaption)
        .Boolean("Enabled", &TMenuItem::GetEnabled, &TMenuItem::SetEnabled).Default(true)
        .Boolean("Visible", &TMenuItem::GetVisible, &TMenuItem::SetVisible).Default(true)
        .Event("OnClick", &TMenuItem::GetOnClick, &TMenuItem::SetOnClick);
    return &info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem()
{
    if (FParentItem)
        FParentItem->Remove(this);
    for (TMenuItem* item : std::vector<TMenuItem*>(FItems))
        item->FParentItem = nullptr;
}

void TMenuItem::Add(TMenuItem* item)
{
    if (item->FParentItem)
        item->FParentItem->Remove(item);
    FItems.push_back(item);
    item->FParentItem = this;
}

void TMenuItem::Remove(TMenuItem* item)
{
    std::erase(FItems, item);
    item->FParentItem = nullptr;
}

void TMenuItem::Click()
{
    if (FEnabled && FOnClick)
        FOnClick(this);
}

TClass TPopupMenu::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TPopupMenu>("TPopupMenu", TComponent::StaticClass())
        .Boolean("AutoPopup", &TPopupMenu::GetAutoPopup, &TPopupMenu::SetAutoPopup).Default(true)
        .Event("OnPopup", &TPopupMenu::GetOnPopup, &TPopupMenu::SetOnPopup);
    return &info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(nullptr)) {}

TPopupMenu::~TPopupMenu()
{
    if (FWindow)
        DestroyWindow(FWindow);
    delete FItems;
}

// ---- the menu's window -----------------------------------------------------------

struct TPopupWindowAccess {
    static TPopupMenu* MenuOf(HWND hwnd) { return reinterpret_cast<TPopupMenu*>(GetWindowLongPtr(hwnd, GWLP_USERDATA)); }

    static std::vector<TMenuItem*> Visible(TPopupMenu* menu)
    {
        std::vector<TMenuItem*> items;
        for (Integer i = 0; i < menu->FItems->GetCount(); ++i)
            if (menu->FItems->GetItem(i)->GetVisible())
                items.push_back(menu->FItems->GetItem(i));
        return items;
    }

    static Integer ItemAt(HWND hwnd, TPoint client)
    {
        RECT r;
        GetClientRect(hwnd, r);
        if (!PtInRect(r, client))
            return -1;
        return client.Y / TPopupMenu::ItemHeight;
    }

    static void Paint(HWND hwnd, TPopupMenu* menu)
    {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, ps);
        RECT client;
        GetClientRect(hwnd, client);
        FillRect(dc, client, GetSysColorBrush(COLOR_MENU));
        SetBkMode(dc, TRANSPARENT);
        auto items = Visible(menu);
        for (size_t i = 0; i < items.size(); ++i) {
            RECT row = Bounds(0, Integer(i) * TPopupMenu::ItemHeight, client.Width(), TPopupMenu::ItemHeight);
            if (items[i]->IsLine()) {
                Integer y = row.Top + row.Height() / 2;
                FillRect(dc, Rect(1, y - 1, row.Right - 1, y), GetSysColorBrush(COLOR_BTNSHADOW));
                FillRect(dc, Rect(1, y, row.Right - 1, y + 1), GetSysColorBrush(COLOR_BTNHIGHLIGHT));
                continue;
            }
            bool hot = Integer(i) == menu->FHot && items[i]->GetEnabled();
            if (hot)
                FillRect(dc, row, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(!items[i]->GetEnabled() ? COLOR_GRAYTEXT : hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
            RECT text = row;
            text.Left += 16;
            DrawText(dc, items[i]->GetCaption(), text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        }
        EndPaint(hwnd, ps);
    }

    static bool Choosable(const std::vector<TMenuItem*>& items, Integer index)
    {
        return index >= 0 && size_t(index) < items.size() && items[size_t(index)]->GetEnabled() &&
               !items[size_t(index)]->IsLine();
    }

    // The next item that can be chosen after From (before it for a negative
    // step), going round; From may lie just outside the list. -1 when none.
    static Integer NextChoosable(const std::vector<TMenuItem*>& items, Integer from, Integer step)
    {
        const auto count = Integer(items.size());
        for (Integer n = 1; n <= count; ++n) {
            const Integer i = ((from + step * n) % count + count) % count;
            if (Choosable(items, i))
                return i;
        }
        return -1;
    }

    static void SetHot(HWND hwnd, TPopupMenu* menu, Integer hot)
    {
        if (hot == menu->FHot)
            return;
        menu->FHot = hot;
        InvalidateRect(hwnd, nullptr, false);
    }

    // The keys of an open menu, as the window system's menus take them: Up and
    // Down move the highlight round the items that can be chosen (lines and
    // disabled items are passed over), Home and End go to the first and last;
    // Return chooses the highlighted item and Escape closes. A letter or digit
    // underlined with & chooses its item, or when several items share it,
    // highlights the next of them.
    static void KeyDown(HWND hwnd, TPopupMenu* menu, Word key)
    {
        const auto items = Visible(menu);
        const auto count = Integer(items.size());
        const Integer hot = menu->FHot;
        switch (key) {
        case VK_ESCAPE: Close(menu, nullptr); return;
        case VK_RETURN:
            if (Choosable(items, hot))
                Close(menu, items[size_t(hot)]);
            return;
        case VK_DOWN: SetHot(hwnd, menu, NextChoosable(items, hot < 0 ? -1 : hot, 1)); return;
        case VK_UP: SetHot(hwnd, menu, NextChoosable(items, hot < 0 ? count : hot, -1)); return;
        case VK_HOME: SetHot(hwnd, menu, NextChoosable(items, -1, 1)); return;
        case VK_END: SetHot(hwnd, menu, NextChoosable(items, count, -1)); return;
        }
        if (!((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')))
            return;
        std::vector<Integer> matches;
        for (Integer i = 0; i < count; ++i)
            if (Choosable(items, i) && IsAccel(key, items[size_t(i)]->GetCaption()))
                matches.push_back(i);
        if (matches.size() == 1) {
            Close(menu, items[size_t(matches.front())]);
        } else if (!matches.empty()) {
            auto next = std::upper_bound(matches.begin(), matches.end(), hot);
            SetHot(hwnd, menu, next != matches.end() ? *next : matches.front());
        }
    }

    static void Close(TPopupMenu* menu, TMenuItem* chosen)
    {
        if (menu->FClosed)
            return;
        menu->FChosen = chosen;
        menu->FClosed = true;
    }

    static LRESULT Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        TPopupMenu* menu = MenuOf(hwnd);
        if (!menu)
            return DefWindowProc(hwnd, msg, wParam, lParam);
        switch (msg) {
        case WM_PAINT:
            Paint(hwnd, menu);
            return 0;
        case WM_MOUSEMOVE:
            SetHot(hwnd, menu, ItemAt(hwnd, LParamToPoint(lParam)));
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: {
            Integer at = ItemAt(hwnd, LParamToPoint(lParam));
            auto items = Visible(menu);
            if (at < 0)
                Close(menu, nullptr);
            else if (size_t(at) < items.size() && items[size_t(at)]->GetEnabled() && !items[size_t(at)]->IsLine())
                Close(menu, items[size_t(at)]);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (ItemAt(hwnd, LParamToPoint(lParam)) < 0)
                Close(menu, nullptr);
            return 0;
        case CN_KEYDOWN:
        case WM_KEYDOWN:
            KeyDown(hwnd, menu, Word(wParam));
            return 1;
        // Alt leaves the menu, as it does the window system's; every other
        // key stays with the menu while it is open.
        case CN_SYSKEYDOWN:
        case WM_SYSKEYDOWN:
            Close(menu, nullptr);
            return 1;
        case CN_KEYUP:
        case UINT(CN_BASE) + UINT(WM_SYSKEYUP):
            return 1;
        case WM_CANCELMODE:
        case WM_CAPTURECHANGED:
            if (msg == WM_CANCELMODE || reinterpret_cast<HWND>(lParam) != hwnd)
                Close(menu, nullptr);
            return 0;
        }
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
};

void TPopupMenu::Popup(Integer x, Integer y)
{
    if (FWindow)
        return;
    if (FOnPopup)
        FOnPopup(this);
    WNDCLASS wc;
    if (!GetClassInfo("#32768", wc)) {
        wc.lpfnWndProc = &TPopupWindowAccess::Proc;
        wc.lpszClassName = "#32768";
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        RegisterClass(wc);
    }
    auto items = TPopupWindowAccess::Visible(this);
    if (items.empty())
        return;
    Integer width = 100;
    HDC dc = GetDC(nullptr);
    for (TMenuItem* item : items) {
        TSize size;
        GetTextExtentPoint32(dc, item->GetCaption(), size);
        width = std::max(width, size.cx + 32);
    }
    ReleaseDC(nullptr, dc);
    Integer height = Integer(items.size()) * ItemHeight + 2;
    FWindow = CreateWindowEx(WS_EX_TOPMOST, "#32768", "", WS_POPUP | WS_BORDER, x, y, width + 2, height, nullptr);
    SetWindowLongPtr(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    FHot = -1;
    FClosed = false;
    FChosen = nullptr;
    ShowWindow(FWindow, SW_SHOWNA);
    SetCapture(FWindow);
    try {
        while (!FClosed && !Application->GetTerminated())
            Application->HandleMessage();
    } catch (...) {
        DestroyWindow(FWindow);
        FWindow = nullptr;
        throw;
    }
    if (GetCapture() == FWindow)
        ReleaseCapture();
    DestroyWindow(FWindow);
    FWindow = nullptr;
    if (FChosen)
        FChosen->Click();
}

} // namespace ld
