// The widget's signals, fired by real mouse and key events on the tree's window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "tests/widget/WidgetSupport.h"

namespace {

class WidgetSignals : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        widget = new LxTreeViewWidget(window.get());
        widget->setGeometry(0, 0, 300, 400);
        widget->setOptions(FormOptions());
        FillFormTree(widget->tree()->Items());
        window->resize(300, 400);
        window->show();
        QApplication::processEvents();
        Record();
    }

    TlxTreeViewNode* Node(const char* Text) { return widget->tree()->Items()->Find(TFindOptions{lxfoText}, Text, nullptr); }
    void Click(const char* Text)
    {
        QTest::mouseClick(TreeWindow(*widget), Qt::LeftButton, Qt::NoModifier, LabelCentre(*widget, Node(Text)));
    }
    // As the window system delivers one: a click, then the double click event.
    void DoubleClick(const char* Text)
    {
        Click(Text);
        QTest::mouseDClick(TreeWindow(*widget), Qt::LeftButton, Qt::NoModifier, LabelCentre(*widget, Node(Text)));
    }
    // The centre of a node's check glyph, found by hit testing along its row.
    QPoint GlyphOf(TlxTreeViewNode* Node)
    {
        const RECT r = Node->DisplayRect(true);
        const int y = (r.top + r.bottom) / 2;
        int first = -1, last = -1;
        for (int x = 0; x < r.left; ++x)
            if (widget->tree()->GetHitTestInfoAt(x, y).Contains(htOnStateIcon)) {
                first = first < 0 ? x : first;
                last = x;
            }
        EXPECT_GE(first, 0) << "no check glyph on " << Node->Text();
        return InTreeWindow(*widget, QPoint((first + last) / 2, y));
    }
    // Every signal of the widget as "<signal> <node text>", in order; taken by Events().
    std::vector<std::string> Events() { return std::exchange(events, {}); }

    std::unique_ptr<QWidget> window;
    LxTreeViewWidget* widget = nullptr;

private:
    void Record()
    {
        auto note = [this](const char* Signal) {
            return [this, Signal](TlxTreeViewNode* n) { events.push_back(Signal + (" " + (n ? n->Text() : "-"))); };
        };
        QObject::connect(widget, &LxTreeViewWidget::currentNodeChanged, note("current"));
        QObject::connect(widget, &LxTreeViewWidget::nodeExpanded, note("expanded"));
        QObject::connect(widget, &LxTreeViewWidget::nodeCollapsed, note("collapsed"));
        QObject::connect(widget, &LxTreeViewWidget::nodeChecked, note("checked"));
        QObject::connect(widget, &LxTreeViewWidget::nodeDoubleClicked, note("double"));
        QObject::connect(widget, &LxTreeViewWidget::nodeEdited, [this](TlxTreeViewNode* n, const QString& text) {
            events.push_back("edited " + n->Text() + " as " + text.toStdString());
        });
    }
    std::vector<std::string> events;
};

} // namespace

TEST_F(WidgetSignals, ClicksAndKeysOnTheTreeFireTheSignals)
{
    Click("Music");
    EXPECT_EQ(Events(), std::vector<std::string>{"current Music"});

    // A click on another node first empties the selection, reported for no node.
    DoubleClick("Documents");
    EXPECT_EQ(Events(), (std::vector<std::string>{"current -", "current Documents", "expanded Documents", "double Documents"}));

    QTest::keyClick(TreeWindow(*widget), Qt::Key_Left);
    EXPECT_EQ(Events(), std::vector<std::string>{"collapsed Documents"});
    QTest::keyClick(TreeWindow(*widget), Qt::Key_Right);
    EXPECT_EQ(Events(), std::vector<std::string>{"expanded Documents"});

    TlxTreeViewNode* invoices = Node("Invoices");
    QTest::mouseClick(TreeWindow(*widget), Qt::LeftButton, Qt::NoModifier, GlyphOf(invoices));
    EXPECT_EQ(invoices->CheckState(), lxsChecked);
    EXPECT_EQ(Events(), (std::vector<std::string>{"current Invoices", "checked Invoices"}));
}

TEST_F(WidgetSignals, AnEditTypedIntoTheLabelFiresNodeEdited)
{
    TlxTreeViewNode* folk = Node("Folk");
    Node("Music")->Expand(false);
    Events();
    ASSERT_TRUE(folk->EditText());
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(edit, nullptr);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, "Blues");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(folk->Text(), "Blues");
    EXPECT_EQ(Events(), std::vector<std::string>{"edited Blues as Blues"});
}
