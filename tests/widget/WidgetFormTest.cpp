// NodesForm.ui read both ways a Qt application reads a form: compiled by uic into a Ui
// class, and loaded at run time by QUiLoader. Both must give the same widget.
//
// The form's Data text is the data() of a widget with the form's options filled by
// FillFormTree (WidgetSupport.h); FormCarriesTheTreeThatFillFormTreeBuilds prints the
// text to put into the form when the two part.
#include <gtest/gtest.h>

#include <QFile>
#include <QUiLoader>
#include <memory>

#include "tests/widget/WidgetSupport.h"
#include "ui_NodesForm.h"

namespace {

// Makes the tree widget itself, as the designer plugin would.
class TTreeFormLoader : public QUiLoader {
public:
    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override
    {
        if (className != QLatin1String("LxTreeViewWidget"))
            return QUiLoader::createWidget(className, parent, name);
        auto* widget = new LxTreeViewWidget(parent);
        widget->setObjectName(name);
        return widget;
    }
};

std::unique_ptr<QWidget> LoadNodesForm()
{
    QFile file(LX_NODES_FORM);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    TTreeFormLoader loader;
    return std::unique_ptr<QWidget>(loader.load(&file));
}

// What NodesForm.ui sets, read through the widget and through its control.
void ExpectNodesForm(LxTreeViewWidget* widget)
{
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->objectName(), "nodes");
    EXPECT_EQ(widget->dataError(), QString());
    EXPECT_EQ(Outline(widget->tree()->Items()), FormTreeOutline());
    EXPECT_EQ(widget->tree()->Items()->Count(), 7);

    TlxTreeView* tree = widget->tree();
    EXPECT_EQ(widget->options(), FormOptions());
    EXPECT_TRUE(tree->Options().Contains(roCheckSupport));
    EXPECT_EQ(widget->borderStyle(), LxTreeViewWidget::bsNone);
    EXPECT_EQ(tree->BorderStyle(), bsNone);
    EXPECT_EQ(tree->ChangeDelay(), 40);
    EXPECT_EQ(tree->Indent(), 25);
    EXPECT_EQ(tree->ItemHeight(), 20);
    EXPECT_EQ(widget->selectedColor(), QColor(200, 16, 32));
    EXPECT_EQ(tree->SelectedColor(), QColorToTColor(QColor(200, 16, 32)));
    // What the form leaves alone keeps its default.
    EXPECT_EQ(tree->Color(), clWindow);
    EXPECT_EQ(widget->sortType(), LxTreeViewWidget::stNone);
}

} // namespace

TEST(WidgetForm, UicCompiledFormHoldsTheTreeAndProperties)
{
    QWidget form;
    Ui::NodesForm ui;
    ui.setupUi(&form);
    ExpectNodesForm(ui.nodes);
}

TEST(WidgetForm, FormLoadedAtRunTimeHoldsTheTreeAndProperties)
{
    std::unique_ptr<QWidget> form = LoadNodesForm();
    ASSERT_NE(form, nullptr);
    ExpectNodesForm(form->findChild<LxTreeViewWidget*>("nodes"));
}

TEST(WidgetForm, FormCarriesTheTreeThatFillFormTreeBuilds)
{
    QWidget form;
    Ui::NodesForm ui;
    ui.setupUi(&form);
    LxTreeViewWidget built;
    built.setOptions(FormOptions());
    FillFormTree(built.tree()->Items());
    EXPECT_EQ(Outline(built.tree()->Items()), FormTreeOutline());
    EXPECT_EQ(ui.nodes->data(), built.data()) << "the form's Data for FillFormTree's nodes: "
                                               << built.data().toStdString();
}
