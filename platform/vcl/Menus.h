// Menu items and the popup menu: a right click on a control whose PopupMenu
// is set shows the menu at the pointer; choosing an item fires its OnClick
// once the menu has closed. The menu runs its own loop while it is open.
#pragma once

#include <string>
#include <vector>

#include "platform/core/Component.h"
#include "platform/win/Window.h"

namespace ld {

class TMenuItem : public TComponent {
    LD_CLASS(TMenuItem, TComponent)

    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    std::string GetCaption() const { return FCaption; }
    void SetCaption(const std::string& v) { FCaption = v; }
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool v) { FVisible = v; }
    TNotifyEvent GetOnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent v) { FOnClick = v; }

    Integer GetCount() const { return Integer(FItems.size()); }
    TMenuItem* GetItem(Integer index) const { return FItems.at(size_t(index)); }
    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);
    TMenuItem* GetParentItem() const { return FParentItem; }
    bool IsLine() const { return FCaption == "-"; }
    virtual void Click();

private:
    std::string FCaption;
    bool FEnabled = true;
    bool FVisible = true;
    TNotifyEvent FOnClick;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParentItem = nullptr;
};

class TPopupMenu : public TComponent {
    LD_CLASS(TPopupMenu, TComponent)

    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    TMenuItem* GetItems() const { return FItems; }
    bool GetAutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool v) { FAutoPopup = v; }
    TComponent* GetPopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* v) { FPopupComponent = v; }
    TNotifyEvent GetOnPopup() const { return FOnPopup; }
    void SetOnPopup(TNotifyEvent v) { FOnPopup = v; }

    // Shows the menu with its top-left corner at a screen point and returns
    // when it has closed (after the chosen item's OnClick).
    virtual void Popup(Integer x, Integer y);
    // The menu's window while it is open, for tests and the screen shots.
    HWND GetWindowHandle() const { return FWindow; }
    // The height of one item in the open menu.
    static constexpr Integer ItemHeight = 18;

private:
    friend struct TPopupWindowAccess;
    TMenuItem* FItems;
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
    TNotifyEvent FOnPopup;
    HWND FWindow = nullptr;
    Integer FHot = -1;
    bool FClosed = false;
    TMenuItem* FChosen = nullptr;
};

} // namespace ld
