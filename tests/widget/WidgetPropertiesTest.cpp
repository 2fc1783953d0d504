// The widget's Qt properties: the control's defaults on a new widget, each value set
// through Qt's property system reaching the control, and the reset giving the default
// back; the control following the widget's size and enabled state.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMetaProperty>
#include <functional>

#include "tests/widget/WidgetSupport.h"

namespace {

// The widget's own properties, those it adds to QWidget's.
std::vector<QMetaProperty> OwnProperties()
{
    const QMetaObject& meta = LxTreeViewWidget::staticMetaObject;
    std::vector<QMetaProperty> properties;
    for (int i = QWidget::staticMetaObject.propertyCount(); i < meta.propertyCount(); ++i)
        properties.push_back(meta.property(i));
    return properties;
}

struct TPropertyCase {
    const char* Name;
    QVariant Value;
    std::function<bool(TlxTreeView*)> Reached;
};

std::vector<TPropertyCase> PropertyCases()
{
    const QColor red(200, 16, 32);
    const TColor redColor = QColorToTColor(red);
    const auto options = LxTreeViewWidget::TreeOptions(LxTreeViewWidget::roMultiSelect | LxTreeViewWidget::roRowSelect);
    return {
        {"Color", red, [=](TlxTreeView* t) { return t->Color() == redColor; }},
        {"SelectedColor", red, [=](TlxTreeView* t) { return t->SelectedColor() == redColor; }},
        {"UnfocusedSelectedColor", red, [=](TlxTreeView* t) { return t->UnfocusedSelectedColor() == redColor; }},
        {"DropSelectedColor", red, [=](TlxTreeView* t) { return t->DropSelectedColor() == redColor; }},
        {"MarkColor", red, [=](TlxTreeView* t) { return t->MarkColor() == redColor; }},
        {"BorderStyle", QVariant::fromValue(LxTreeViewWidget::bsNone),
         [](TlxTreeView* t) { return t->BorderStyle() == bsNone; }},
        {"Options", QVariant::fromValue(options),
         [](TlxTreeView* t) { return t->Options() == TTreeOptions{roMultiSelect, roRowSelect}; }},
        {"SortType", QVariant::fromValue(LxTreeViewWidget::stText),
         [](TlxTreeView* t) { return t->SortType() == stText; }},
        {"ChangeDelay", 250, [](TlxTreeView* t) { return t->ChangeDelay() == 250; }},
        {"Indent", 33, [](TlxTreeView* t) { return t->Indent() == 33; }},
        {"ItemHeight", 27, [](TlxTreeView* t) { return t->ItemHeight() == 27; }},
        {"ScrollDelayTime", 700, [](TlxTreeView* t) { return t->ScrollDelayTime() == 700; }},
    };
}

} // namespace

TEST(WidgetProperties, NewWidgetReportsTheControlsDefaults)
{
    LxTreeViewWidget widget;
    TlxTreeView* tree = widget.tree();
    EXPECT_EQ(int(widget.options()), 95254);
    EXPECT_EQ(tree->Options(), DefaultOptions);
    EXPECT_EQ(widget.borderStyle(), LxTreeViewWidget::bsSingle);
    EXPECT_EQ(widget.sortType(), LxTreeViewWidget::stNone);
    EXPECT_EQ(widget.changeDelay(), 0);
    EXPECT_EQ(widget.scrollDelayTime(), 300);
    // The colours stay the system's.
    EXPECT_EQ(tree->Color(), clWindow);
    EXPECT_EQ(tree->SelectedColor(), clHighlight);
    EXPECT_EQ(tree->UnfocusedSelectedColor(), clBtnFace);
    EXPECT_EQ(tree->DropSelectedColor(), clBtnFace);
    EXPECT_EQ(tree->MarkColor(), clBtnFace);
    EXPECT_EQ(widget.color(), TColorToQColor(clWindow));
    EXPECT_EQ(widget.data(), QString());
    EXPECT_EQ(widget.dataError(), QString());

    // Indent and item height are a new native window's, as for a control of its own.
    QWidget host;
    TlxTreeView plain(nullptr);
    plain.SetParentWidget(&host);
    EXPECT_EQ(widget.indent(), plain.Indent());
    EXPECT_EQ(widget.itemHeight(), plain.ItemHeight());
}

TEST(WidgetProperties, EveryPropertyReachesTheControlAndResetsToItsDefault)
{
    std::vector<QMetaProperty> own = OwnProperties();
    ASSERT_EQ(own.size(), PropertyCases().size() + 1); // and Data
    for (const QMetaProperty& property : own) {
        SCOPED_TRACE(property.name());
        EXPECT_TRUE(property.isResettable());
        EXPECT_TRUE(property.isWritable());
        EXPECT_TRUE(property.isDesignable());
        EXPECT_TRUE(property.isStored());
    }
    for (const TPropertyCase& c : PropertyCases()) {
        SCOPED_TRACE(c.Name);
        LxTreeViewWidget widget;
        const QVariant fresh = widget.property(c.Name);
        ASSERT_NE(fresh, c.Value);
        ASSERT_TRUE(widget.setProperty(c.Name, c.Value));
        EXPECT_EQ(widget.property(c.Name), c.Value);
        EXPECT_TRUE(c.Reached(widget.tree()));
        const QMetaObject* meta = widget.metaObject();
        ASSERT_TRUE(meta->property(meta->indexOfProperty(c.Name)).reset(&widget));
        EXPECT_EQ(widget.property(c.Name), fresh);
        EXPECT_FALSE(c.Reached(widget.tree()));
    }
}

TEST(WidgetProperties, ControlFillsTheWidgetAndFollowsItsEnabledState)
{
    QWidget window;
    auto* widget = new LxTreeViewWidget(&window);
    widget->setGeometry(10, 10, 320, 240);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(widget->tree()->Width(), 320);
    EXPECT_EQ(widget->tree()->Height(), 240);
    widget->resize(180, 300);
    QApplication::processEvents();
    EXPECT_EQ(widget->tree()->Width(), 180);
    EXPECT_EQ(widget->tree()->Height(), 300);

    window.setEnabled(false);
    EXPECT_FALSE(widget->tree()->Enabled());
    window.setEnabled(true);
    EXPECT_TRUE(widget->tree()->Enabled());
}

TEST(WidgetProperties, DataOfOneWidgetGivesAnotherTheSameTree)
{
    LxTreeViewWidget source;
    source.setOptions(FormOptions());
    FillFormTree(source.tree()->Items());
    source.tree()->Items()->GetFirstNode()->Expand(false);

    LxTreeViewWidget copy;
    copy.setOptions(FormOptions());
    copy.setData(source.data());
    EXPECT_EQ(copy.dataError(), QString());
    EXPECT_EQ(Outline(copy.tree()->Items()), FormTreeOutline());
    EXPECT_TRUE(copy.tree()->Items()->GetFirstNode()->Expanded());
    EXPECT_EQ(copy.data(), source.data());
    // An empty text empties the tree.
    ASSERT_TRUE(copy.setProperty("Data", QString()));
    EXPECT_EQ(copy.tree()->Items()->Count(), 0);
    EXPECT_EQ(copy.data(), QString());
}
