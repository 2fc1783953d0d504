#pragma once
// The three controls under measurement, behind one interface, each shown in a
// top-level window of the same size.
#include <QByteArray>
#include <memory>
#include <vector>

#include "bench/BenchSupport.h"

class QWidget;
class QString;

namespace bench {

class TSubject {
public:
    virtual ~TSubject() = default;
    virtual const char* Name() const = 0;
    virtual QWidget* View() = 0;

    virtual void BuildOneByOne(const TShape& shape) = 0;
    // The toolkit's own bulk insertion; false when there is none.
    virtual bool BuildBulk(const TShape& shape) = 0;
    virtual long Walk() = 0;
    // Reads every node by its absolute index; false when the control has no such access.
    virtual bool ReadByIndex(long& checksum) = 0;
    virtual void ExpandAll() = 0;
    virtual void CollapseAll() = 0;
    virtual void ScrollToTop() = 0;
    virtual void ScrollToLast() = 0;
    virtual void SortTopLevelChildren() = 0;
    // Saves and loads the tree in the given form ("binary" or "text"); false when the
    // control has no such form.
    virtual bool Save(const char* form, QByteArray& data) = 0;
    virtual bool Load(const char* form, const QByteArray& data) = 0;
    virtual bool SelectAll() = 0;
    virtual bool ClearSelection() = 0;
    // Multi-selection with the mouse, as a user does it, on an expanded tree: a plain
    // click on the top row in view, then (scrolled to the end) a Shift+click on the last
    // row, which selects every visible node in between.
    virtual void ClickTopRow() = 0;
    virtual void ShiftClickLastRow() = 0;
    // A press at the top of the view and a drag to its bottom with the left button.
    virtual void DragOverView() = 0;
    // Selects the children of the first top-level nodes, then deletes what is selected.
    virtual void SelectChildrenOf(int parents) = 0;
    virtual void DeleteSelected() = 0;
    virtual void DeleteAll() = 0;
    // Builds the tree with a value per node (NodeValues), in the order of BuildOneByOne.
    virtual void BuildWithValues(const TShape& shape, const std::vector<int>& values) = 0;
    // Sorts every level by the nodes' values, then by SortKey of them, the application's
    // own comparison.
    virtual void SortEveryLevelByValue() = 0;
    virtual void SortEveryLevelByHandler() = 0;
    // Moves top-level nodes 1 to n-1 under the first one, to make a subtree of that size.
    virtual void GatherUnderFirst(int n) = 0;
    // Moves the first top-level node with its subtree to the end of the last one's children.
    virtual void MoveFirstSubtree() = 0;
    // Moves the first n children of the first top-level node, one at a time, to the end of
    // the second one's children.
    virtual void MoveChildrenOneByOne(int n) = 0;
    virtual long Count() = 0;
    // Prints every row the expansion shows as one picture 100 mm wide onto a PDF page
    // at 600 dots per inch: the picture made of the view's screenfuls while it scrolls.
    virtual void PrintToPdf(const QString& path) = 0;
    // Opens a modal editing dialog on a copy of the tree (openMs: until the dialog's
    // event loop first runs), then confirms it, which copies the dialog's tree back
    // (confirmMs: from the confirmation until the dialog is gone).
    virtual void EditInDialog(double& openMs, double& confirmMs) = 0;
};

std::unique_ptr<TSubject> MakeLxTreeView();
std::unique_ptr<TSubject> MakeQTreeWidget();
std::unique_ptr<TSubject> MakeQTreeView();

} // namespace bench
