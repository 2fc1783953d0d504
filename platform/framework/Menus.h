#pragma once
// Menus: menu items with captions, shortcuts and click events, and popup menus shown
// at a screen point. A popup menu is built as a QMenu from its items each time it
// pops up, so items can change freely in between (OnPopup is the usual place).
#include <functional>
#include <string>
#include <vector>

#include "platform/framework/Classes.h"
#include "platform/framework/Controls.h"

// A shortcut is a virtual-key code in the low byte with modifier flags above it.
using TShortCut = WORD;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(WORD Key, TShiftState Shift);
// The key and the modifiers of a shortcut.
void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift);
// "Ctrl+N", "Shift+Del", "F2", ""; TextToShortCut reads the same texts back (0 when
// the text names no shortcut).
std::string ShortCutToText(TShortCut ShortCut);
TShortCut TextToShortCut(const std::string& Text);

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    // Frees the subitems and leaves the parent item.
    ~TMenuItem() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; }
    // A caption of "-" makes the item a separator line.
    bool IsLine() const { return FCaption == "-"; }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value) { FShortCut = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    // Checked radio items of one group index within one parent exclude each other.
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool Value) { FRadioItem = Value; }
    std::uint8_t GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(std::uint8_t Value) { FGroupIndex = Value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool Value) { FDefault = Value; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value) { FHint = Value; }

    // Subitems. Add and Insert take ownership; Remove gives it back to the caller.
    int Count() const { return int(FItems.size()); }
    TMenuItem* Items(int Index) const; // EMenuError when out of bounds
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const;
    int IndexOf(const TMenuItem* Item) const;
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    void Remove(TMenuItem* Item);
    void Delete(int Index); // frees the item
    void Clear();           // frees every subitem
    // The subitem whose caption, without its '&' marks, equals ACaption (case-insensitive).
    TMenuItem* Find(const std::string& ACaption) const;

    // Fires OnClick (an enabled item only).
    virtual void Click();
    // The parent item, or the popup menu whose item list holds this item.
    TComponent* GetParentComponent() const override;
    // Appends the item to a menu item's subitems or to a popup menu's items.
    void SetParentComponent(TComponent* Value) override;

    TNotifyEvent OnClick;

private:
    friend class TPopupMenu;
    TMenuItem* FParent = nullptr;
    TComponent* FMenu = nullptr; // the popup menu whose item list this item is
    std::vector<TMenuItem*> FItems;
    std::string FCaption;
    std::string FHint;
    TShortCut FShortCut = scNone;
    std::uint8_t FGroupIndex = 0;
    bool FEnabled = true;
    bool FVisible = true;
    bool FChecked = false;
    bool FRadioItem = false;
    bool FDefault = false;
};

LX_DECLARE_EXCEPTION(EMenuError, Exception);

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    TMenuItem* Items() const { return FItems; }
    // The component that popped the menu up; set by whoever pops it up.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value);
    // Controls pop their PopupMenu up on a right click by themselves when this is on.
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    POINT PopupPoint() const { return FPopupPoint; }

    // Fires OnPopup, then shows the menu at the screen point and returns once it is
    // closed; the chosen item's Click runs after the menu has gone.
    virtual void Popup(int X, int Y);
    // Runs the click of the enabled, visible item with this shortcut, if any.
    bool IsShortCut(WORD Key, TShiftState Shift);
    // The first item with this shortcut in menu order (subitems before later items), or null.
    TMenuItem* FindItem(TShortCut ShortCut) const;

    TNotifyEvent OnPopup;

    // The menu on screen while Popup runs, for code that drives it (tests, hints).
    static QWidget* ActivePopup();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TMenuItem* FItems;
    TComponent* FPopupComponent = nullptr;
    POINT FPopupPoint{};
    bool FAutoPopup = true;
};
