#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/framework/Application.h"
#include "platform/framework/Menus.h"

namespace {

TMenuItem* NewItem(TMenuItem* Parent, const std::string& Caption, TShortCut Keys = scNone)
{
    auto* Item = new TMenuItem(nullptr);
    Item->SetCaption(Caption);
    Item->SetShortCut(Keys);
    Parent->Add(Item);
    return Item;
}

// Runs Drive on the menu once it is on screen (Popup blocks until the menu closes).
void WhenShown(const std::function<void(QMenu*)>& Drive)
{
    QTimer::singleShot(0, [Drive] {
        auto* Menu = qobject_cast<QMenu*>(TPopupMenu::ActivePopup());
        ASSERT_NE(Menu, nullptr);
        Drive(Menu);
    });
}

QAction* ActionNamed(QMenu* Menu, const QString& Prefix)
{
    for (QAction* Action : Menu->actions())
        if (Action->text().startsWith(Prefix))
            return Action;
    return nullptr;
}

} // namespace

TEST(FrameworkMenus, ShortCutsReadAndWriteTheirTexts)
{
    const TShortCut CtrlN = ShortCut('N', {ssCtrl});
    EXPECT_EQ(CtrlN, scCtrl | 'N');
    EXPECT_EQ(ShortCutToText(CtrlN), "Ctrl+N");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, {ssShift})), "Shift+Del");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F2, {})), "F2");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_PRIOR, {ssShift, ssCtrl, ssAlt})), "Shift+Ctrl+Alt+PgUp");
    EXPECT_EQ(ShortCutToText(scNone), "");
    for (TShortCut Keys : {CtrlN, TShortCut(scShift | VK_INSERT), TShortCut(VK_F1 + 11), TShortCut(scAlt | '7')})
        EXPECT_EQ(TextToShortCut(ShortCutToText(Keys)), Keys) << ShortCutToText(Keys);
    EXPECT_EQ(TextToShortCut("ctrl+shift+x"), scCtrl | scShift | 'X');
    EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
    EXPECT_EQ(TextToShortCut("Nonsense"), scNone);

    WORD Key = 0;
    TShiftState Shift;
    ShortCutToKey(TShortCut(scCtrl | scAlt | VK_HOME), Key, Shift);
    EXPECT_EQ(Key, VK_HOME);
    EXPECT_EQ(Shift, (TShiftState{ssCtrl, ssAlt}));
}

TEST(FrameworkMenus, ItemsOwnTheirSubitemsAndLeaveTheirParent)
{
    TPopupMenu Menu(nullptr);
    TMenuItem* File = NewItem(Menu.Items(), "&File");
    TMenuItem* Open = NewItem(File, "&Open...");
    TMenuItem* Save = NewItem(File, "&Save");
    EXPECT_EQ(File->Count(), 2);
    EXPECT_EQ(Save->MenuIndex(), 1);
    EXPECT_EQ(File->Find("open..."), Open);
    EXPECT_EQ(Open->Parent(), File);
    EXPECT_THROW(File->Items(2), EMenuError);
    EXPECT_THROW(Open->Add(File), EMenuError); // an item cannot hold its own ancestor
    EXPECT_THROW(Menu.Items()->Add(Open), EMenuError); // already in a menu

    delete Open; // leaves its parent
    EXPECT_EQ(File->Count(), 1);
    EXPECT_EQ(File->Items(0), Save);
    File->Delete(0);
    EXPECT_EQ(File->Count(), 0);
    NewItem(File, "Later"); // freed with the menu
}

TEST(FrameworkMenus, RadioItemsOfOneGroupExcludeEachOther)
{
    TPopupMenu Menu(nullptr);
    TMenuItem* Items[3];
    for (int I = 0; I < 3; ++I) {
        Items[I] = NewItem(Menu.Items(), "Choice " + std::to_string(I));
        Items[I]->SetRadioItem(true);
        Items[I]->SetGroupIndex(I < 2 ? 1 : 2);
    }
    Items[0]->SetChecked(true);
    Items[2]->SetChecked(true);
    Items[1]->SetChecked(true);
    EXPECT_FALSE(Items[0]->Checked());
    EXPECT_TRUE(Items[1]->Checked());
    EXPECT_TRUE(Items[2]->Checked()); // another group
}

TEST(FrameworkMenus, PopupShowsTheItemsAndClicksTheChosenOneAfterClosing)
{
    TPopupMenu Menu(nullptr);
    Menu.SetName("NodeMenu");
    int Popups = 0;
    Menu.OnPopup = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &Menu);
        ++Popups;
    };
    TMenuItem* Rename = NewItem(Menu.Items(), "&Rename", ShortCut(VK_F2, {}));
    NewItem(Menu.Items(), "-");
    TMenuItem* Hidden = NewItem(Menu.Items(), "Hidden");
    Hidden->SetVisible(false);
    TMenuItem* Disabled = NewItem(Menu.Items(), "Disabled");
    Disabled->SetEnabled(false);
    TMenuItem* More = NewItem(Menu.Items(), "More");
    NewItem(More, "Inner");
    bool MenuWasOpen = false;
    Rename->OnClick = [&](TObject* Sender) {
        EXPECT_EQ(Sender, Rename);
        MenuWasOpen = TPopupMenu::ActivePopup() != nullptr;
    };

    QStringList Shown;
    WhenShown([&](QMenu* Shown_) {
        for (QAction* Action : Shown_->actions())
            Shown << (Action->isSeparator() ? "-" : Action->text() + (Action->isEnabled() ? "" : " (off)"));
        EXPECT_EQ(Shown_->pos(), QPoint(40, 50));
        QAction* Action = ActionNamed(Shown_, "&Rename");
        ASSERT_NE(Action, nullptr);
        QTest::mouseClick(Shown_, Qt::LeftButton, {}, Shown_->actionGeometry(Action).center());
    });
    Menu.Popup(40, 50);
    EXPECT_EQ(Popups, 1);
    EXPECT_EQ(Shown, (QStringList{"&Rename\tF2", "-", "Disabled (off)", "More"}));
    EXPECT_FALSE(MenuWasOpen);
    EXPECT_EQ(Menu.PopupPoint().x, 40);

    // Escape closes the menu without a click.
    int Clicks = 0;
    Rename->OnClick = [&](TObject*) { ++Clicks; };
    WhenShown([](QMenu* Shown_) { QTest::keyClick(Shown_, Qt::Key_Escape); });
    Menu.Popup(0, 0);
    EXPECT_EQ(Clicks, 0);
    EXPECT_EQ(TPopupMenu::ActivePopup(), nullptr);
}

TEST(FrameworkMenus, ShortCutsClickOnlyUsableItems)
{
    TPopupMenu Menu(nullptr);
    TMenuItem* Edit = NewItem(Menu.Items(), "Edit");
    TMenuItem* Delete = NewItem(Edit, "Delete", ShortCut(VK_DELETE, {}));
    TMenuItem* Copy = NewItem(Menu.Items(), "Copy", ShortCut('C', {ssCtrl}));
    int Deletes = 0, Copies = 0;
    Delete->OnClick = [&](TObject*) { ++Deletes; };
    Copy->OnClick = [&](TObject*) { ++Copies; };

    EXPECT_TRUE(Menu.IsShortCut(VK_DELETE, {}));
    EXPECT_TRUE(Menu.IsShortCut('C', {ssCtrl}));
    EXPECT_FALSE(Menu.IsShortCut('C', {}));
    EXPECT_EQ(Menu.FindItem(ShortCut(VK_DELETE, {})), Delete);
    Edit->SetEnabled(false); // a disabled submenu disables its items' shortcuts
    EXPECT_FALSE(Menu.IsShortCut(VK_DELETE, {}));
    EXPECT_EQ(Deletes, 1);
    EXPECT_EQ(Copies, 1);
}

TEST(FrameworkMenus, PopupComponentIsForgottenWhenItGoes)
{
    TPopupMenu Menu(nullptr);
    auto* Owner = new TComponent(nullptr);
    Menu.SetPopupComponent(Owner);
    EXPECT_EQ(Menu.PopupComponent(), Owner);
    delete Owner;
    EXPECT_EQ(Menu.PopupComponent(), nullptr);
}

TEST(FrameworkApplication, HelpGoesToTheHandlerThenToTheHelpFile)
{
    TApplication App(nullptr);
    std::vector<std::pair<std::string, int>> Opened;
    App.OpenHelpFile = [&](const std::string& File, int Context) {
        Opened.emplace_back(File, Context);
        return true;
    };
    EXPECT_FALSE(App.HelpContext(7)); // no handler, no file

    App.SetHelpFile("/usr/share/doc/app/help.html");
    EXPECT_TRUE(App.HelpContext(42));
    ASSERT_EQ(Opened.size(), 1u);
    EXPECT_EQ(Opened[0].second, 42);

    std::vector<std::intptr_t> Asked;
    App.OnHelp = [&](WORD Command, std::intptr_t Data, bool& CallHelp) {
        EXPECT_EQ(Command, HELP_CONTEXT);
        Asked.push_back(Data);
        CallHelp = false;
        return true;
    };
    EXPECT_TRUE(App.HelpContext(5));
    EXPECT_EQ(Asked, std::vector<std::intptr_t>{5});
    EXPECT_EQ(Opened.size(), 1u); // the handler kept the file closed
}
