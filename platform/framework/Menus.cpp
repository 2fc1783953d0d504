#include "platform/framework/Menus.h"

#include "platform/framework/Application.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <algorithm>

// ---------------------------------------------------------------------------
// Shortcuts

namespace {

struct TKeyName {
    WORD Key;
    const char* Name;
};

// Keys whose names are not their own character.
constexpr TKeyName KeyNames[] = {
    {VK_BACK, "BkSp"},    {VK_TAB, "Tab"},    {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"},  {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},    {VK_END, "End"},
    {VK_HOME, "Home"},    {VK_LEFT, "Left"},  {VK_UP, "Up"},        {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},    {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

struct TModifierName {
    TShortCut Flag;
    const char* Prefix;
};

constexpr TModifierName ModifierNames[] = {{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}};

constexpr WORD FirstFunctionKey = VK_F1;
constexpr int FunctionKeyCount = 12;
constexpr TShortCut KeyMask = 0x00FF;

std::string KeyToText(WORD Key)
{
    for (const TKeyName& Name : KeyNames)
        if (Name.Key == Key)
            return Name.Name;
    if (Key >= FirstFunctionKey && Key < FirstFunctionKey + FunctionKeyCount)
        return "F" + std::to_string(Key - FirstFunctionKey + 1);
    if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z'))
        return std::string(1, char(Key));
    return "";
}

WORD TextToKey(const std::string& Text)
{
    for (const TKeyName& Name : KeyNames)
        if (SameText(Text, Name.Name))
            return Name.Key;
    for (int F = 1; F <= FunctionKeyCount; ++F)
        if (SameText(Text, "F" + std::to_string(F)))
            return WORD(FirstFunctionKey + F - 1);
    if (Text.size() == 1) {
        const char C = UpperCase(Text)[0];
        if ((C >= '0' && C <= '9') || (C >= 'A' && C <= 'Z'))
            return WORD(C);
    }
    return 0;
}

std::string WithoutMnemonics(const std::string& Caption)
{
    std::string Plain;
    for (std::size_t I = 0; I < Caption.size(); ++I) {
        if (Caption[I] == '&' && I + 1 < Caption.size())
            ++I;
        Plain += Caption[I];
    }
    return Plain;
}

} // namespace

TShortCut ShortCut(WORD Key, TShiftState Shift)
{
    if (Key & ~KeyMask)
        return scNone;
    TShortCut Result = Key;
    if (Shift.Contains(ssShift))
        Result |= scShift;
    if (Shift.Contains(ssCtrl))
        Result |= scCtrl;
    if (Shift.Contains(ssAlt))
        Result |= scAlt;
    return Result;
}

void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift)
{
    Key = ShortCut & KeyMask;
    Shift = {};
    if (ShortCut & scShift)
        Shift.Include(ssShift);
    if (ShortCut & scCtrl)
        Shift.Include(ssCtrl);
    if (ShortCut & scAlt)
        Shift.Include(ssAlt);
}

std::string ShortCutToText(TShortCut ShortCut)
{
    const std::string Key = KeyToText(ShortCut & KeyMask);
    if (Key.empty())
        return "";
    std::string Text;
    for (const TModifierName& Modifier : ModifierNames)
        if (ShortCut & Modifier.Flag)
            Text += Modifier.Prefix;
    return Text + Key;
}

TShortCut TextToShortCut(const std::string& Text)
{
    TShortCut Flags = 0;
    std::size_t At = 0;
    for (bool Found = true; Found;) {
        Found = false;
        for (const TModifierName& Modifier : ModifierNames) {
            const std::size_t Length = std::char_traits<char>::length(Modifier.Prefix);
            if (SameText(Text.substr(At, Length), Modifier.Prefix)) {
                Flags |= Modifier.Flag;
                At += Length;
                Found = true;
            }
        }
    }
    const WORD Key = TextToKey(Text.substr(At));
    return Key ? TShortCut(Key | Flags) : scNone;
}

// ---------------------------------------------------------------------------
// Menu items

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem()
{
    Clear();
    if (FParent)
        FParent->Remove(this);
}

void TMenuItem::SetChecked(bool Value)
{
    FChecked = Value;
    if (!Value || !FRadioItem || !FParent)
        return;
    for (TMenuItem* Sibling : FParent->FItems)
        if (Sibling != this && Sibling->FRadioItem && Sibling->FGroupIndex == FGroupIndex)
            Sibling->FChecked = false;
}

TMenuItem* TMenuItem::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EMenuError(Format(SListIndexError, Index));
    return FItems[std::size_t(Index)];
}

int TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

int TMenuItem::IndexOf(const TMenuItem* Item) const
{
    const auto It = std::find(FItems.begin(), FItems.end(), Item);
    return It == FItems.end() ? -1 : int(It - FItems.begin());
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (!Item)
        return;
    if (Item->FParent)
        throw EMenuError("Menu item \"" + Item->Caption() + "\" is already in a menu");
    if (Index < 0 || Index > Count())
        throw EMenuError(Format(SListIndexError, Index));
    for (const TMenuItem* Above = this; Above; Above = Above->FParent)
        if (Above == Item)
            throw EMenuError("A menu item cannot hold itself");
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
}

void TMenuItem::Remove(TMenuItem* Item)
{
    const int Index = IndexOf(Item);
    if (Index < 0)
        return;
    FItems.erase(FItems.begin() + Index);
    Item->FParent = nullptr;
}

void TMenuItem::Delete(int Index) { delete Items(Index); }

void TMenuItem::Clear()
{
    while (!FItems.empty())
        delete FItems.back();
}

TComponent* TMenuItem::GetParentComponent() const
{
    if (FParent && FParent->FMenu)
        return FParent->FMenu;
    return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value)
{
    TMenuItem* holder = dynamic_cast<TMenuItem*>(Value);
    if (auto* menu = dynamic_cast<TPopupMenu*>(Value))
        holder = menu->Items();
    if (Value && !holder)
        throw EReadError("Menu item " + Name() + " cannot be placed in " + Value->Name());
    if (FParent)
        FParent->Remove(this);
    if (holder)
        holder->Add(this);
}

TMenuItem* TMenuItem::Find(const std::string& ACaption) const
{
    const std::string Wanted = WithoutMnemonics(ACaption);
    for (TMenuItem* Item : FItems)
        if (SameText(WithoutMnemonics(Item->FCaption), Wanted))
            return Item;
    return nullptr;
}

void TMenuItem::Click()
{
    if (FEnabled && OnClick)
        OnClick(this);
}

// ---------------------------------------------------------------------------
// Popup menus

namespace {

QPointer<QMenu>& ShownPopup()
{
    static QPointer<QMenu> Shown;
    return Shown;
}

QString ActionText(const TMenuItem* Item)
{
    QString Text = QString::fromStdString(Item->Caption());
    const std::string Keys = ShortCutToText(Item->ShortCut());
    if (!Keys.empty())
        Text += '\t' + QString::fromStdString(Keys); // the menu shows it right-aligned
    return Text;
}

// Fills Menu with the visible subitems of Parent; a chosen leaf is stored in Chosen.
void FillMenu(QMenu* Menu, const TMenuItem* Parent, TMenuItem*& Chosen)
{
    std::vector<QActionGroup*> Groups(256, nullptr);
    for (int I = 0; I < Parent->Count(); ++I) {
        TMenuItem* Item = Parent->Items(I);
        if (!Item->Visible())
            continue;
        if (Item->IsLine()) {
            Menu->addSeparator();
            continue;
        }
        if (Item->Count() > 0) {
            QMenu* Sub = Menu->addMenu(QString::fromStdString(Item->Caption()));
            Sub->setEnabled(Item->Enabled());
            FillMenu(Sub, Item, Chosen);
            continue;
        }
        QAction* Action = Menu->addAction(ActionText(Item));
        Action->setEnabled(Item->Enabled());
        Action->setCheckable(Item->Checked() || Item->RadioItem());
        Action->setChecked(Item->Checked());
        if (Item->Default()) {
            QFont Bold = Action->font();
            Bold.setBold(true);
            Action->setFont(Bold);
        }
        if (Item->RadioItem()) {
            QActionGroup*& Group = Groups[Item->GroupIndex()];
            if (!Group)
                Group = new QActionGroup(Menu);
            Group->addAction(Action);
        }
        QObject::connect(Action, &QAction::triggered, Menu, [&Chosen, Item] { Chosen = Item; });
        QObject::connect(Action, &QAction::hovered, Menu, [Item] { Application()->SetHint(Item->Hint()); });
    }
}

} // namespace

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr))
{
    FItems->FMenu = this;
}

TPopupMenu::~TPopupMenu()
{
    SetPopupComponent(nullptr);
    delete FItems;
}

void TPopupMenu::SetPopupComponent(TComponent* Value)
{
    if (FPopupComponent == Value)
        return;
    if (FPopupComponent)
        RemoveFreeNotification(FPopupComponent);
    FPopupComponent = Value;
    if (Value)
        FreeNotification(Value);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupComponent)
        FPopupComponent = nullptr;
}

void TPopupMenu::Popup(int X, int Y)
{
    FPopupPoint = POINT{X, Y};
    if (OnPopup)
        OnPopup(this);
    QMenu Menu;
    Menu.setObjectName(QString::fromStdString(Name()));
    TMenuItem* Chosen = nullptr;
    FillMenu(&Menu, FItems, Chosen);
    if (Menu.isEmpty())
        return;
    ShownPopup() = &Menu;
    Menu.exec(QPoint(X, Y));
    ShownPopup() = nullptr;
    if (Chosen)
        Chosen->Click();
}

QWidget* TPopupMenu::ActivePopup() { return ShownPopup().data(); }

namespace {

TMenuItem* FindByShortCut(const TMenuItem* Parent, TShortCut ShortCut)
{
    for (int I = 0; I < Parent->Count(); ++I) {
        TMenuItem* Item = Parent->Items(I);
        if (Item->Count() == 0 && Item->ShortCut() == ShortCut)
            return Item;
        if (TMenuItem* Inner = FindByShortCut(Item, ShortCut))
            return Inner;
    }
    return nullptr;
}

// An item counts only when it and every item above it can be used.
bool Usable(const TMenuItem* Item)
{
    for (; Item && Item->Parent(); Item = Item->Parent())
        if (!Item->Enabled() || !Item->Visible())
            return false;
    return true;
}

} // namespace

TMenuItem* TPopupMenu::FindItem(TShortCut ShortCut) const { return FindByShortCut(FItems, ShortCut); }

bool TPopupMenu::IsShortCut(WORD Key, TShiftState Shift)
{
    const TShortCut Wanted = ::ShortCut(Key, Shift);
    if (Wanted == scNone)
        return false;
    TMenuItem* Item = FindItem(Wanted);
    if (!Item || !Usable(Item))
        return false;
    Item->Click();
    return true;
}
