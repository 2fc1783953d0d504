// Windowed controls' anchors, size constraints, inner border and the properties they
// take from their parents, on a shown form with real windows and widgets.
#include <gtest/gtest.h>
#include <QPaintEvent>
#include <QRegion>

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

TEST_F(ControlProperties, AnchoredControlsKeepTheirDistancesAndComeBackAfterShrinkingAndGrowing)
{
    // Each control on the 400 x 300 form, and where it is once the form is 100 wider and 50 taller.
    struct TCase {
        TAnchors Anchors;
        QRect Start, Grown;
        TPaintedControl* Control = nullptr;
    } cases[] = {
        {DefaultAnchors, {10, 10, 50, 20}, {10, 10, 50, 20}},
        {{akTop, akRight}, {300, 10, 50, 20}, {400, 10, 50, 20}},
        {{akLeft, akTop, akRight}, {10, 40, 200, 20}, {10, 40, 300, 20}},
        {{akLeft, akBottom}, {10, 250, 50, 20}, {10, 300, 50, 20}},
        {{akLeft, akTop, akRight, akBottom}, {100, 80, 100, 100}, {100, 80, 200, 150}},
        {{}, {100, 100, 40, 40}, {150, 125, 40, 40}},
    };
    for (TCase& c : cases) {
        c.Control = Add(form.get(), c.Start);
        c.Control->SetAnchors(c.Anchors);
    }
    ResizeForm(500, 350);
    for (const TCase& c : cases)
        EXPECT_EQ(BoundsOf(c.Control), c.Grown) << c.Anchors.Bits();

    // Smaller than at the start (the stretched one cannot go below nothing), by odd
    // amounts, then back: every control is where it began.
    ResizeForm(151, 97);
    EXPECT_EQ(BoundsOf(cases[1].Control), QRect(51, 10, 50, 20));
    EXPECT_EQ(cases[2].Control->Width(), 0);
    EXPECT_EQ(BoundsOf(cases[5].Control), QRect(100 - 249 / 2, 100 - 203 / 2, 40, 40));
    ResizeForm(333, 211);
    ResizeForm(400, 300);
    for (const TCase& c : cases)
        EXPECT_EQ(BoundsOf(c.Control), c.Start) << c.Anchors.Bits();

    // Bounds the application sets are the new reference; aligned controls ignore anchors.
    TPaintedControl* right = cases[1].Control;
    ResizeForm(500, 300);
    right->SetLeft(380);
    cases[3].Control->SetAlign(alTop);
    ResizeForm(400, 300);
    EXPECT_EQ(BoundsOf(right), QRect(280, 10, 50, 20));
    EXPECT_EQ(BoundsOf(cases[3].Control), QRect(0, 0, 400, 20));
}

TEST_F(ControlProperties, ConstraintsClampTheBoundsAndApplyAsSoonAsTheyChange)
{
    TPaintedControl* c = Add(form.get(), {5, 5, 100, 100});
    ResizeForm(400, 300);
    TSizeConstraints* limits = c->Constraints();
    limits->SetMaxWidth(80);
    limits->SetMinHeight(120);
    EXPECT_EQ(BoundsOf(c), QRect(5, 5, 80, 120)) << "applied at once";
    c->SetBounds(1, 2, 500, 10);
    EXPECT_EQ(BoundsOf(c), QRect(1, 2, 80, 120));
    limits->SetMinWidth(90); // above the maximum: the minimum wins
    c->SetWidth(10);
    EXPECT_EQ(c->Width(), 90);
    limits->SetMaxHeight(-5);
    EXPECT_EQ(limits->MaxHeight(), 0) << "no limit";

    // A stretched control keeps to the constraints and still comes back.
    TSizeConstraints other;
    other.SetMaxWidth(320);
    c->SetConstraints(&other);
    EXPECT_EQ(limits->MinWidth(), 0);
    c->SetBounds(1, 2, 300, 10);
    c->SetAnchors({akLeft, akTop, akRight});
    ResizeForm(600, 300);
    EXPECT_EQ(c->Width(), 320);
    ResizeForm(400, 300);
    EXPECT_EQ(BoundsOf(c), QRect(1, 2, 300, 10));
}

TEST_F(ControlProperties, BorderWidthInsetsTheClientAreaAndIsPaintedInTheControlsColor)
{
    TPaintedControl* c = Add(form.get(), {20, 20, 100, 80});
    c->SetColor(clRed);
    c->SetBorderWidth(6);
    EXPECT_EQ(c->ClientWidth(), 88) << "without a window";
    TPaintedControl* filler = Add(c, {0, 0, 10, 10});
    filler->SetAlign(alClient);
    ResizeForm(400, 300);
    EXPECT_EQ(BoundsOf(filler), QRect(0, 0, 88, 68)) << "aligned in the client area, inside the border";
    delete filler;

    c->SetBorderWidth(4);
    RECT client;
    GetClientRect(c->Handle(), &client);
    EXPECT_EQ(QRect(0, 0, client.right, client.bottom), QRect(0, 0, 92, 72));
    const QImage shot = WindowWidget(c->Handle())->grab().toImage();
    for (QPoint p : {QPoint(0, 0), QPoint(3, 3), QPoint(99, 79), QPoint(96, 40), QPoint(40, 76)})
        EXPECT_EQ(shot.pixelColor(p), ColorRefToQColor(ColorToRGB(clRed))) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(4, 4), QPoint(95, 75)})
        EXPECT_EQ(shot.pixelColor(p), QColor(Qt::blue)) << p.x() << "," << p.y() << ": the client area";

    // A new colour repaints the border too, not only the client area.
    struct TPaints : QObject {
        QRegion Painted;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                Painted += static_cast<QPaintEvent*>(e)->region();
            return false;
        }
    } paints;
    WindowWidget(c->Handle())->installEventFilter(&paints);
    QApplication::processEvents();
    paints.Painted = QRegion();
    c->SetColor(clLime);
    QApplication::processEvents();
    EXPECT_TRUE(paints.Painted.contains(QPoint(1, 1)));
    WindowWidget(c->Handle())->removeEventFilter(&paints);

    // Mouse input arrives in client coordinates.
    QPoint down;
    c->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { down = QPoint(x, y); };
    QTest::mousePress(WindowWidget(c->Handle()), Qt::LeftButton, {}, QPoint(14, 9));
    EXPECT_EQ(down, QPoint(10, 5));
    c->SetBorderWidth(-3);
    EXPECT_EQ(c->BorderWidth(), 0);
    EXPECT_EQ(c->ClientWidth(), 100);
}

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
