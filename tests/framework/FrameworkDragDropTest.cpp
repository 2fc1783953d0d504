// Drag and drop between two controls of a form, under real Qt mouse and key events.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/framework/DragDrop.h"
#include "platform/framework/Forms.h"
#include "platform/framework/ImgList.h"

namespace {

// A control whose drags show one image.
class TDragSource : public TWinControl {
public:
    explicit TDragSource(TComponent* AOwner) : TWinControl(AOwner), Images(nullptr, 16, 16)
    {
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(Qt::red);
        TBitmap bitmap;
        bitmap.SetImage(image);
        Images.Add(&bitmap, nullptr);
    }
    TDragImageList* GetDragImages() override { return &Images; }
    TImageList Images;
};

class DragDrop : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 400, 200);
        source = new TDragSource(form.get());
        Place(source, 10);
        target = new TWinControl(form.get());
        Place(target, 200);
        target->SetControlStyle(target->ControlStyle() + TControlStyle{csDisplayDragImage});
        source->OnStartDrag = [this](TObject*, TDragObject*&) { log += "start "; };
        source->OnEndDrag = [this](TObject*, TObject* to, int, int) {
            log += std::string("end ") + (to == target ? "target" : to ? "other" : "none") + " ";
        };
        target->OnDragOver = [this](TObject*, TObject* from, int, int, TDragState state, bool& accept) {
            static const char* names[] = {"enter", "leave", "move"};
            log += std::string(names[state]) + (from == source ? "" : "?") + " ";
            accept = accepting;
        };
        target->OnDragDrop = [this](TObject*, TObject*, int x, int y) {
            log += "drop@" + std::to_string(x) + "," + std::to_string(y) + " ";
        };
        form->Show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        CancelDrag();
        form.reset();
    }
    void Place(TWinControl* c, int left)
    {
        c->SetParent(form.get());
        c->SetBounds(left, 10, 100, 100);
    }
    QWidget* SourceView() { return WindowWidget(source->Handle()); }
    // A point of the target in the source's widget coordinates (the pressed widget
    // keeps the mouse).
    QPoint OnTarget(QPoint p) { return SourceView()->mapFromGlobal(WindowWidget(target->Handle())->mapToGlobal(p)); }
    static Qt::CursorShape Cursor()
    {
        return QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::BlankCursor;
    }
    static bool NothingLeft() { return !DragObjectInProgress() && !QApplication::overrideCursor() && !GetCapture(); }

    std::unique_ptr<TForm> form;
    TDragSource* source = nullptr;
    TWinControl* target = nullptr;
    std::string log;
    bool accepting = true;
};

} // namespace

TEST_F(DragDrop, AutomaticDragWaitsForTheThresholdThenDropsOnTheAcceptingControl)
{
    source->SetDragMode(dmAutomatic);
    QTest::mousePress(SourceView(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(SourceView(), QPoint(22, 22));
    EXPECT_EQ(log, "");
    EXPECT_FALSE(source->Dragging());

    QTest::mouseMove(SourceView(), QPoint(40, 40));
    EXPECT_EQ(log, "start ");
    EXPECT_TRUE(source->Dragging());
    EXPECT_EQ(Cursor(), Qt::ForbiddenCursor); // the source itself takes no drop
    EXPECT_FALSE(source->Images.DragImageVisible());

    QTest::mouseMove(SourceView(), OnTarget(QPoint(30, 40)));
    EXPECT_EQ(log, "start enter move ");
    EXPECT_EQ(Cursor(), Qt::DragMoveCursor);
    EXPECT_TRUE(source->Images.DragImageVisible());
    EXPECT_EQ(DragObjectInProgress()->DragTarget(), target);

    QTest::mouseRelease(SourceView(), Qt::LeftButton, {}, OnTarget(QPoint(30, 40)));
    EXPECT_EQ(log, "start enter move leave drop@30,40 end target ");
    EXPECT_FALSE(source->Dragging());
    EXPECT_FALSE(source->Images.Dragging());
    EXPECT_TRUE(NothingLeft());
}

TEST_F(DragDrop, RefusedDropsEscapeAndCancelEndWithoutATarget)
{
    accepting = false;
    QTest::mouseMove(SourceView(), QPoint(20, 20)); // the drag starts over the source
    source->BeginDrag(true);
    QTest::mouseMove(SourceView(), OnTarget(QPoint(50, 50)));
    EXPECT_EQ(Cursor(), Qt::ForbiddenCursor);
    source->EndDrag(true);
    EXPECT_EQ(log, "start enter move leave end none ");
    EXPECT_TRUE(NothingLeft());

    log.clear();
    accepting = true;
    QTest::mouseMove(SourceView(), QPoint(20, 20));
    source->BeginDrag(true);
    QTest::mouseMove(SourceView(), OnTarget(QPoint(50, 50)));
    QTest::keyClick(SourceView(), Qt::Key_Escape);
    EXPECT_EQ(log, "start enter move leave end none ");
    EXPECT_TRUE(NothingLeft());

    log.clear();
    source->SetDragKind(dkDock);
    source->BeginDrag(true);
    EXPECT_EQ(log, "");
    EXPECT_FALSE(DragObjectInProgress());
}

TEST_F(DragDrop, ApplicationDragObjectsAreTheSourceAndStayTheApplications)
{
    auto own = std::make_unique<TDragControlObject>(source);
    source->OnStartDrag = [&](TObject*, TDragObject*& object) { object = own.get(); };
    TObject* seen = nullptr;
    target->OnDragDrop = [&](TObject*, TObject* from, int, int) { seen = from; };
    source->BeginDrag(true);
    QTest::mouseMove(SourceView(), OnTarget(QPoint(10, 10)));
    EXPECT_EQ(DragObjectInProgress(), own.get());
    QTest::mouseRelease(SourceView(), Qt::LeftButton, {}, OnTarget(QPoint(10, 10)));
    EXPECT_EQ(seen, own.get());
    EXPECT_TRUE(own->Dropped());
    EXPECT_EQ(own->DragTarget(), target);
}

TEST_F(DragDrop, AThrowingDropHandlerReachesTheCallerAndTheDragStillEnds)
{
    target->OnDragDrop = [](TObject*, TObject*, int, int) { throw std::runtime_error("drop failed"); };
    source->BeginDrag(true);
    QTest::mouseMove(SourceView(), OnTarget(QPoint(10, 10)));
    EXPECT_THROW(source->EndDrag(true), std::runtime_error);
    EXPECT_NE(log.find("end target"), std::string::npos);
    EXPECT_TRUE(NothingLeft());
}

TEST_F(DragDrop, DestroyingTheSourceEndsItsDragAndLeavesNothingBehind)
{
    source->BeginDrag(true);
    QTest::mouseMove(SourceView(), OnTarget(QPoint(10, 10)));
    ASSERT_TRUE(source->Images.DragImageVisible());
    log.clear();
    delete source;
    source = nullptr;
    EXPECT_EQ(log, "leave ");
    EXPECT_TRUE(NothingLeft());
    QTest::mouseMove(WindowWidget(target->Handle()), QPoint(20, 20)); // no session reacts
    EXPECT_EQ(log, "leave ");
}
