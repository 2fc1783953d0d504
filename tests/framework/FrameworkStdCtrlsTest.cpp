#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEnterEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <vector>

#include "platform/framework/Application.h"
#include "platform/framework/Buttons.h"
#include "platform/framework/ComCtrls.h"
#include "platform/framework/Forms.h"
#include "platform/framework/ScrollBox.h"
#include "platform/framework/StdCtrls.h"

namespace {

class StdCtrls : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 400, 300);
    }
    void TearDown() override { Application()->OnHint = nullptr; }

    // A control owned by the form, on Parent (the form by default).
    template <class T>
    T* Add(TWinControl* Parent = nullptr)
    {
        auto* control = new T(form.get());
        control->SetParent(Parent ? Parent : form.get());
        return control;
    }
    void Show()
    {
        form->Show();
        QApplication::processEvents();
    }

    std::unique_ptr<TForm> form;
};

void Click(QWidget* Widget) { QTest::mouseClick(Widget, Qt::LeftButton); }
// On the box itself: the widget is wider than its box and caption.
void Click(QCheckBox* Box) { QTest::mouseClick(Box, Qt::LeftButton, {}, QPoint(6, Box->height() / 2)); }

TEST_F(StdCtrls, ButtonClickFiresOnClickAfterSettingModalResult)
{
    auto* ok = Add<TButton>();
    ok->SetCaption("OK");
    ok->SetModalResult(mrOk);
    int resultSeen = -1;
    ok->OnClick = [&](TObject*) { resultSeen = form->ModalResult(); };
    auto* cancel = Add<TButton>();
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    Show();
    EXPECT_EQ(ok->Width(), 75);
    EXPECT_EQ(ok->Button()->text(), "OK");
    Click(ok->Button());
    EXPECT_EQ(resultSeen, mrOk);
    QTest::keyClick(form->Widget(), Qt::Key_Escape);
    EXPECT_EQ(form->ModalResult(), mrCancel);
}

TEST_F(StdCtrls, DefaultButtonTakesReturnThatNoLineEditTook)
{
    auto* button = Add<TButton>();
    button->SetDefault(true);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    auto* check = Add<TCheckBox>();
    auto* edit = Add<TEdit>();
    Show();
    check->SetFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(clicks, 1);
    edit->SetFocus();
    QTest::keyClick(edit->LineEdit(), Qt::Key_Return);
    EXPECT_EQ(clicks, 1);
}

TEST_F(StdCtrls, SpeedButtonGroups)
{
    auto* a = Add<TSpeedButton>();
    auto* b = Add<TSpeedButton>();
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    std::vector<bool> downAtClick;
    a->OnClick = [&](TObject*) { downAtClick.push_back(a->Down()); };
    Show();
    EXPECT_EQ(a->Width(), 23);
    EXPECT_EQ(a->ToolButton()->focusPolicy(), Qt::NoFocus);

    Click(a->ToolButton());
    EXPECT_TRUE(a->Down());
    Click(a->ToolButton()); // stays down without AllowAllUp
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(downAtClick, (std::vector<bool>{true, true}));

    b->SetDown(true);
    EXPECT_FALSE(a->Down());
    EXPECT_FALSE(a->ToolButton()->isChecked());
    EXPECT_EQ(downAtClick.size(), 2u); // Down from code fires nothing

    b->SetAllowAllUp(true);
    EXPECT_TRUE(a->AllowAllUp());
    Click(b->ToolButton());
    EXPECT_FALSE(b->Down());
}

TEST_F(StdCtrls, SpeedButtonGlyphLeavesTheBottomLeftColourOut)
{
    auto* button = Add<TSpeedButton>();
    TBitmap glyph;
    glyph.SetSize(4, 4);
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(RECT{0, 0, 2, 2});
    button->SetGlyph(&glyph);
    Show();
    const QImage shown = button->ToolButton()->icon().pixmap(4, 4).toImage();
    EXPECT_EQ(shown.pixelColor(0, 3).alpha(), 0);
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::red));
}

TEST_F(StdCtrls, EditChangeAndEnter)
{
    auto* edit = Add<TEdit>();
    int changes = 0, enters = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->OnEnter = [&](TObject*) { ++enters; };
    edit->SetText("a");
    EXPECT_EQ(changes, 1);
    Show();
    EXPECT_EQ(edit->LineEdit()->text(), "a");
    EXPECT_EQ(edit->Width(), 121);
    EXPECT_EQ(edit->Color(), clWindow);

    edit->SetFocus();
    EXPECT_EQ(enters, 1);
    EXPECT_TRUE(edit->Focused());
    QTest::keyClicks(edit->LineEdit(), "bc");
    EXPECT_EQ(edit->Text(), "abc");
    EXPECT_EQ(changes, 3);
    edit->SetText("abc");
    EXPECT_EQ(changes, 3);
    edit->SetText("x");
    EXPECT_EQ(changes, 4);

    edit->SetText("hello");
    edit->SelectAll();
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 5);
}

TEST_F(StdCtrls, CheckBoxCycles)
{
    auto* box = Add<TCheckBox>();
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    Show();
    box->SetCaption("Box");
    QCheckBox* widget = box->CheckBox();
    Click(widget);
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_EQ(widget->checkState(), Qt::Checked);
    Click(widget);
    EXPECT_EQ(box->State(), cbUnchecked);
    EXPECT_EQ(clicks, 2);

    box->SetAllowGrayed(true);
    Click(widget);
    Click(widget);
    EXPECT_EQ(box->State(), cbGrayed);
    EXPECT_EQ(widget->checkState(), Qt::PartiallyChecked);
    Click(widget);
    EXPECT_EQ(box->State(), cbUnchecked);
    EXPECT_EQ(clicks, 5);

    box->SetAllowGrayed(false);
    box->SetState(cbGrayed); // Checked stays false: no OnClick
    EXPECT_EQ(clicks, 5);
    Click(widget);
    EXPECT_EQ(box->State(), cbChecked);
    box->SetChecked(false); // a change of Checked from code clicks
    EXPECT_EQ(clicks, 7);
}

TEST_F(StdCtrls, ComboBoxItemsAndOnChange)
{
    auto* combo = Add<TComboBox>();
    combo->SetStyle(csDropDownList);
    combo->Items()->Add("one");
    combo->Items()->Add("two");
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    Show();
    QComboBox* widget = combo->ComboBox();
    EXPECT_EQ(widget->count(), 2);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(widget->currentIndex(), -1);
    EXPECT_EQ(widget->currentText(), "");

    combo->SetItemIndex(1);
    EXPECT_EQ(widget->currentText(), "two");
    EXPECT_EQ(combo->Text(), "two");
    EXPECT_EQ(changes, 0);

    combo->SetFocus();
    QTest::keyClick(widget, Qt::Key_Up); // the user picks the item above
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->Text(), "one");
    EXPECT_EQ(changes, 1);

    combo->Items()->Add("three");
    EXPECT_EQ(widget->count(), 3);
    EXPECT_EQ(widget->currentIndex(), 0);
}

TEST_F(StdCtrls, GroupBoxPlacesChildrenFromItsCorner)
{
    auto* group = Add<TGroupBox>();
    group->SetBounds(20, 30, 200, 100);
    group->SetCaption("Options");
    auto* check = Add<TCheckBox>(group);
    check->SetBounds(8, 13, 100, 17);
    auto* label = Add<TLabel>(group);
    label->SetCaption("A longer caption");
    Show();
    EXPECT_EQ(group->GroupBox()->title(), "Options");
    QWidget* box = group->Widget();
    QWidget* checkWindow = check->Widget();
    EXPECT_EQ(checkWindow->parentWidget(), box);
    EXPECT_EQ(checkWindow->mapTo(box, QPoint(0, 0)), QPoint(8, 13));
    EXPECT_TRUE(checkWindow->isVisible());
    // Above the group box's frame, so that it is what the mouse reaches.
    EXPECT_EQ(box->childAt(QPoint(10, 15))->window(), box->window());
    EXPECT_EQ(WindowFromWidget(box->childAt(QPoint(10, 15))), check->Handle());
    EXPECT_EQ(label->Width(), QFontMetrics(label->Font()->ToQFont()).size(0, "A longer caption").width());
}

TEST_F(StdCtrls, ScrollBoxShowsOnlyTheBarsItNeeds)
{
    auto* box = Add<TScrollBox>();
    box->SetBounds(0, 0, 200, 100);
    box->VertScrollBar()->SetVisible(false);
    auto* wide = Add<TButton>(box);
    wide->SetBounds(0, 0, 75, 300);
    box->HorzScrollBar()->SetRange(500);
    Show();
    EXPECT_TRUE(box->HorzScrollBar()->IsScrollBarVisible());
    EXPECT_FALSE(box->VertScrollBar()->IsScrollBarVisible());

    box->HorzScrollBar()->SetPosition(40);
    EXPECT_EQ(wide->Left(), -40);
    box->HorzScrollBar()->SetPosition(0);
    EXPECT_EQ(wide->Left(), 0);

    box->VertScrollBar()->SetVisible(true); // the child is taller than the box
    EXPECT_TRUE(box->VertScrollBar()->IsScrollBarVisible());
    box->SetAutoScroll(false);
    EXPECT_FALSE(box->VertScrollBar()->IsScrollBarVisible());
}

// Controls put on a window that is already on screen, as a dialog's show handler adds
// them, appear at once and scroll with the box.
TEST_F(StdCtrls, ControlsAddedToAShownBoxAppear)
{
    auto* box = Add<TScrollBox>();
    box->SetBounds(0, 0, 100, 50);
    Show();
    std::vector<TSpeedButton*> buttons;
    for (int i = 0; i < 5; ++i) {
        buttons.push_back(Add<TSpeedButton>(box));
        buttons.back()->SetBounds(i * 32, 2, 32, 32);
    }
    box->HorzScrollBar()->SetRange(5 * 32);
    for (TSpeedButton* button : buttons) {
        ASSERT_TRUE(button->HandleAllocated());
        EXPECT_TRUE(button->ToolButton()->isVisible());
    }
    EXPECT_TRUE(box->HorzScrollBar()->IsScrollBarVisible());
    box->HorzScrollBar()->SetPosition(32);
    EXPECT_EQ(buttons[1]->Left(), 0);
    EXPECT_EQ(buttons[1]->ToolButton()->parentWidget()->x(), buttons[0]->ToolButton()->parentWidget()->x() + 32);
}

TEST_F(StdCtrls, StatusBarPanels)
{
    auto* bar = Add<TStatusBar>();
    TStatusPanel* first = bar->Panels()->Add();
    first->SetText("Ready");
    first->SetWidth(120);
    bar->Panels()->Add()->SetText("Line 1");
    Show();
    EXPECT_EQ(bar->Align(), alBottom);
    EXPECT_EQ(bar->Height(), 19);
    EXPECT_EQ(bar->Top(), form->ClientHeight() - 19);
    ASSERT_NE(bar->PanelLabel(1), nullptr);
    EXPECT_EQ(bar->PanelLabel(0)->text(), "Ready");
    EXPECT_EQ(bar->PanelLabel(0)->width(), 120);
    EXPECT_LT(bar->PanelLabel(0)->x(), bar->PanelLabel(1)->x());
    bar->SetSimpleText("Busy");
    bar->SetSimplePanel(true);
    EXPECT_EQ(bar->StatusBar()->currentMessage(), "Busy");
}

TEST_F(StdCtrls, HintFollowsTheMouse)
{
    EXPECT_EQ(GetShortHint("Open|Opens a file"), "Open");
    EXPECT_EQ(GetLongHint("Open|Opens a file"), "Opens a file");
    EXPECT_EQ(GetLongHint("Open"), "Open");

    auto* group = Add<TGroupBox>();
    group->SetHint("Group|The group");
    auto* button = Add<TButton>(group);
    button->SetBounds(10, 20, 75, 25);
    button->SetHint("Press|Presses");
    button->SetShowHint(true);
    auto* plain = Add<TCheckBox>(group);
    plain->SetBounds(10, 60, 75, 17);
    auto* edit = Add<TEdit>();
    edit->SetLeft(250);
    std::vector<std::string> hints;
    Application()->OnHint = [&](TObject*) { hints.push_back(Application()->Hint()); };
    Show();
    EXPECT_EQ(button->Widget()->toolTip(), "Press");

    QTest::mouseMove(button->Button(), QPoint(5, 5));
    QTest::mouseMove(plain->CheckBox(), QPoint(5, 5));
    QTest::mouseMove(edit->LineEdit(), QPoint(5, 5));
    ASSERT_FALSE(hints.empty());
    EXPECT_EQ(hints.front(), "The group");
    EXPECT_NE(std::find(hints.begin(), hints.end(), "Presses"), hints.end());
    EXPECT_EQ(hints.back(), "");

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(button->Button(), &enter);
    EXPECT_EQ(Application()->Hint(), "Presses");
}

TEST_F(StdCtrls, ControlsGoWithTheirOwnerEvenFromTheirOwnClick)
{
    auto* group = Add<TGroupBox>();
    auto* scroll = Add<TScrollBox>();
    auto* closer = Add<TButton>(group);
    Add<TEdit>(scroll);
    Add<TComboBox>(scroll)->Items()->Add("x");
    Add<TSpeedButton>(group);
    Add<TStatusBar>()->Panels()->Add();
    closer->OnClick = [&](TObject*) { form.reset(); };
    Show();
    Click(closer->Button());
    EXPECT_EQ(form, nullptr);
    QApplication::processEvents();
}

} // namespace
