// Forms shown modally, their close protocol, key preview, placement and window
// decorations; and the screen's cursor.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <string>
#include <vector>

#include "platform/framework/Forms.h"

TEST(FrameworkForms, ShowModalEndsByModalResultByCloseAndByTheCloseButton)
{
    TForm form(nullptr);
    std::vector<std::string> events;
    form.OnCreate = [&](TObject*) { events.push_back("create"); };
    form.OnShow = [&](TObject*) {
        const QWindow* window = form.Widget()->windowHandle();
        events.push_back(window && window->isVisible() ? "on screen already" : "show");
    };
    form.OnClose = [&](TObject*, TCloseAction& Action) { events.push_back(Action == caHide ? "close" : "?"); };
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(form.Widget()->windowModality(), Qt::ApplicationModal);
        form.SetModalResult(mrOk);
    });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_FALSE(form.Widget()->isVisible());
    EXPECT_EQ(events, (std::vector<std::string>{"create", "show", "close"}));

    int asked = 0;
    form.OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = ++asked > 1; };
    QTimer::singleShot(0, [&] {
        form.Close(); // refused: the form stays modal
        QTimer::singleShot(0, [&] { form.Close(); });
    });
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_EQ(asked, 2);

    QTimer::singleShot(0, [&] { form.Widget()->close(); });
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_FALSE(form.Widget()->isVisible());
}

TEST(FrameworkForms, ModalFormShowsAModalFormOfItsOwn)
{
    TForm outer(nullptr);
    TForm inner(&outer);
    int innerResult = mrNone;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] { inner.SetModalResult(mrYes); });
        innerResult = inner.ShowModal();
        outer.SetModalResult(mrNo);
    });
    EXPECT_EQ(outer.ShowModal(), mrNo);
    EXPECT_EQ(innerResult, mrYes);
}

TEST(FrameworkForms, KeyPreviewGivesTheFormTheFocusedControlsKeysFirst)
{
    TForm form(nullptr);
    auto* control = new TWinControl(&form);
    control->SetParent(&form);
    control->SetBounds(10, 10, 80, 20);
    std::vector<std::string> seen;
    form.SetKeyPreview(true);
    form.OnKeyDown = [&](TObject*, WORD& Key, TShiftState) {
        seen.push_back("form " + std::string(1, char(Key)));
        if (Key == 'A')
            Key = 0;
    };
    form.OnKeyPress = [&](TObject*, char& Key) { seen.push_back("form press " + std::string(1, Key)); };
    control->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) { seen.push_back("control " + std::string(1, char(Key))); };
    form.Show();
    control->SetFocus();
    QTest::keyClick(control->Widget(), Qt::Key_A);
    QTest::keyClick(control->Widget(), Qt::Key_B);
    EXPECT_EQ(seen, (std::vector<std::string>{"form A", "form press a", "form B", "control B", "form press b"}));
}

TEST(FrameworkForms, PlacementDecorationsSizeLimitsAndTheScreenCursor)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    form.SetPosition(poScreenCenter);
    form.Show();
    EXPECT_EQ(form.Left(), (Screen()->Width() - 200) / 2);
    EXPECT_EQ(form.Top(), (Screen()->Height() - 100) / 2);
    EXPECT_TRUE(form.Widget()->windowFlags().testFlag(Qt::WindowCloseButtonHint));

    form.SetBorderIcons({});
    EXPECT_FALSE(form.Widget()->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(form.Widget()->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(form.Widget()->isVisible());

    form.SetBorderWidth(5);
    form.SetClientWidth(150);
    EXPECT_EQ(form.ClientWidth(), 150);
    form.Constraints()->SetMaxHeight(80);
    EXPECT_EQ(form.Height(), 80);
    EXPECT_EQ(form.Widget()->maximumHeight(), 80);

    Screen()->SetCursor(crHourGlass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Screen()->SetCursor(crHandPoint);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    Screen()->SetCursor(crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(Screen()->Cursor(), crDefault);
}
