// The properties windowed controls take from their parents, on a shown form with real
// windows and widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <memory>
#include <string>

#include "platform/framework/Forms.h"
#include "platform/win/Gdi.h"

namespace {

// A control that fills its client area with blue and counts CM_BIDIMODECHANGED.
class TPaintedControl : public TWinControl {
public:
    using TWinControl::TWinControl;
    int BiDiModeChanges = 0;

    void WndProc(TMessage& Message) override
    {
        BiDiModeChanges += Message.Msg == CM_BIDIMODECHANGED;
        if (Message.Msg == WM_PAINT && Message.WParam) {
            const RECT client = ClientRect();
            reinterpret_cast<HDC>(Message.WParam)->painter->fillRect(0, 0, client.right, client.bottom, Qt::blue);
            return;
        }
        TWinControl::WndProc(Message);
    }
};

class ControlProperties : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 400, 300);
    }

    TPaintedControl* Add(TWinControl* parent, QRect bounds)
    {
        auto* c = new TPaintedControl(form.get());
        c->SetParent(parent);
        c->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
        return c;
    }
    void ResizeForm(int width, int height)
    {
        form->Show();
        form->SetBounds(0, 0, width, height);
        QApplication::processEvents();
        ASSERT_EQ(form->ClientWidth(), width);
    }
    // The control's bounds, checked against where its window is in the parent's client area.
    static QRect BoundsOf(TWinControl* c)
    {
        RECT window;
        GetWindowRect(c->Handle(), &window);
        POINT at{window.left, window.top};
        ScreenToClient(c->Parent()->Handle(), &at);
        const QRect bounds(c->Left(), c->Top(), c->Width(), c->Height());
        EXPECT_EQ(QRect(at.x, at.y, window.right - window.left, window.bottom - window.top), bounds);
        return bounds;
    }

    std::unique_ptr<TForm> form;
};

// A switch property that a control takes from its parent, through its accessors.
struct TParentTakenSwitch {
    bool (TWinControl::*Get)() const;
    void (TWinControl::*Set)(bool);
    bool (TWinControl::*TakesFromParent)() const;
    void (TWinControl::*SetTakesFromParent)(bool);
};

TEST_F(ControlProperties, Ctl3DShowHintAndBiDiModeFollowTheParentUntilTheControlSetsItsOwn)
{
    TPaintedControl* panel = Add(form.get(), {0, 0, 200, 200});
    TPaintedControl* child = Add(panel, {10, 10, 50, 50});
    TPaintedControl* grandchild = Add(child, {1, 1, 10, 10});
    for (const TParentTakenSwitch& p :
         {TParentTakenSwitch{&TWinControl::Ctl3D, &TWinControl::SetCtl3D, &TWinControl::ParentCtl3D,
                             &TWinControl::SetParentCtl3D},
          TParentTakenSwitch{&TWinControl::ShowHint, &TWinControl::SetShowHint, &TWinControl::ParentShowHint,
                             &TWinControl::SetParentShowHint}}) {
        const bool initial = (form.get()->*p.Get)();
        (panel->*p.Set)(!initial);
        EXPECT_FALSE((panel->*p.TakesFromParent)());
        EXPECT_EQ((grandchild->*p.Get)(), !initial) << "passed on down";
        (child->*p.Set)(initial);
        (panel->*p.Set)(initial);
        (panel->*p.Set)(!initial);
        EXPECT_EQ((grandchild->*p.Get)(), initial) << "the child set its own, the grandchild follows it";
        (child->*p.SetTakesFromParent)(true);
        EXPECT_EQ((grandchild->*p.Get)(), !initial) << "following again takes the value at once";
    }

    ResizeForm(400, 300);
    panel->SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(grandchild->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(grandchild->BiDiModeChanges, 1);
    EXPECT_EQ(WindowWidget(grandchild->Handle())->layoutDirection(), Qt::RightToLeft);
    EXPECT_TRUE(grandchild->UseRightToLeftReading() && grandchild->UseRightToLeftAlignment());
    child->SetBiDiMode(bdRightToLeftReadingOnly);
    panel->SetBiDiMode(bdLeftToRight);
    EXPECT_EQ(grandchild->BiDiMode(), bdRightToLeftReadingOnly);
    EXPECT_TRUE(grandchild->UseRightToLeftReading());
    EXPECT_FALSE(grandchild->UseRightToLeftAlignment());
    EXPECT_EQ(WindowWidget(grandchild->Handle())->layoutDirection(), Qt::LeftToRight);

    // A new parent gives its values, to a window made later too.
    panel->SetBiDiMode(bdRightToLeft);
    TPaintedControl* late = Add(form.get(), {0, 0, 5, 5});
    late->SetParent(panel);
    EXPECT_EQ(late->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(late->Ctl3D(), panel->Ctl3D());
    EXPECT_EQ(WindowWidget(late->Handle())->layoutDirection(), Qt::RightToLeft);
}

} // namespace
