// The comparison benchmark: the same workloads on lxTreeView, QTreeWidget and QTreeView
// (over a QStandardItemModel), in one process, offscreen, each control in a visible
// top-level window of the same size. Prints one table per tree size with the median of
// the runs and the ratio of lxTreeView to the faster Qt view.
//   lxTreeViewBench [--runs R] [--only lx|widget|view] [--each] [--shots DIR] [N ...]
// Default: 3 runs of 100,000 and 1,000,000 nodes on all three controls. --only measures
// one control (the others show n/a); --each also prints every run's value; --shots
// saves every measured paint as an image in DIR.
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include <QFileInfo>
#include <QTemporaryDir>

#include "bench/BenchSupport.h"
#include "bench/Subjects.h"

using namespace bench;

namespace {

const std::vector<std::string> Workloads = {
    "build one at a time, redraw off",
    "build with the toolkit's bulk insertion",
    "walk all nodes in document order",
    "read every node by absolute index",
    "expand all, view at the top",
    "collapse all, view at the top",
    "expand all, view at the last node",
    "collapse all, view at the last node",
    "paint, collapsed, at the top",
    "paint, collapsed, at the last node",
    "paint, expanded, at the top",
    "paint, expanded, at the last node",
    "sort the children of every top-level node",
    "save, binary",
    "load, binary",
    "save, text",
    "load, text",
    "select all",
    "clear the selection",
    "Shift+click range over every visible node",
    "drag over the rows in view (rubber band)",
    "delete the selected tenth of the nodes",
    "delete all",
    "sort every level by data",
    "sort every level by the application's order",
    "move a subtree of a tenth of the nodes",
    "move 10,000 nodes one at a time",
    "delete all after a sort by data",
    "print 10,000 expanded rows to PDF",
    "open the item editor on 100,000 nodes",
    "OK in the item editor, 100,000 nodes back",
    "resident bytes per node",
};

std::string ShotName(TSubject& s, const char* view) { return std::string(s.Name()) + "-" + view; }

void Record(TResults& r, const std::string& workload, double value) { r[workload].push_back(value); }

// Sorting and moving, on a fresh tree whose nodes carry values: every level sorted by
// them, then by the application's comparison; the first tenth of the top-level nodes
// gathered under the first one (not measured) and moved as one subtree; then single
// nodes moved from one parent to another; last the tree sorted by them again and deleted
// (here the child lists and the window order the children differently).
void RunReordering(TSubject& s, const TShape& shape, TResults& r)
{
    s.BuildWithValues(shape, NodeValues(shape));
    Record(r, "sort every level by data", Millis([&] { s.SortEveryLevelByValue(); }));
    Record(r, "sort every level by the application's order", Millis([&] { s.SortEveryLevelByHandler(); }));
    s.GatherUnderFirst(shape.topLevel / 10);
    Record(r, "move a subtree of a tenth of the nodes", Millis([&] { s.MoveFirstSubtree(); }));
    if (s.Count() != shape.Total())
        std::fprintf(stderr, "%s holds %ld of %d nodes after moving\n", s.Name(), s.Count(), shape.Total());
    const int single = std::min(10000, shape.perParent);
    Record(r, "move 10,000 nodes one at a time", Millis([&] { s.MoveChildrenOneByOne(single); }));
    s.SortEveryLevelByValue();
    Record(r, "delete all after a sort by data", Millis([&] { s.DeleteAll(); }));
}

// Printing a tree of 10,000 rows, all expanded, whatever the size of the other workloads.
void RunPrinting(TSubject& s, TResults& r)
{
    TShape small;
    small.topLevel = 100;
    small.perParent = 99;
    s.BuildOneByOne(small);
    s.ExpandAll();
    s.ScrollToTop();
    QTemporaryDir dir;
    const QString path = dir.filePath("tree.pdf");
    Record(r, "print 10,000 expanded rows to PDF", Millis([&] { s.PrintToPdf(path); }));
    if (QFileInfo(path).size() == 0)
        std::fprintf(stderr, "%s printed no file\n", s.Name());
    s.DeleteAll();
}

// The item editor (a dialog with a copy of the tree) on 100,000 nodes, whatever the size
// of the other workloads.
void RunEditing(TSubject& s, TResults& r)
{
    TShape shape;
    shape.topLevel = 100;
    shape.perParent = 999;
    s.BuildOneByOne(shape);
    double open = 0, confirm = 0;
    s.EditInDialog(open, confirm);
    Record(r, "open the item editor on 100,000 nodes", open);
    Record(r, "OK in the item editor, 100,000 nodes back", confirm);
    if (s.Count() != shape.Total())
        std::fprintf(stderr, "%s holds %ld of %d nodes after editing\n", s.Name(), s.Count(), shape.Total());
    s.DeleteAll();
}

// One run of every workload on a fresh tree.
void RunOnce(TSubject& s, const TShape& shape, TResults& r, bool measureMemory)
{
    ReleaseFreeMemory();
    const long before = ResidentBytes();
    Record(r, "build one at a time, redraw off", Millis([&] { s.BuildOneByOne(shape); }));
    if (measureMemory)
        Record(r, "resident bytes per node", double(ResidentBytes() - before) / shape.Total());
    long walked = 0;
    Record(r, "walk all nodes in document order", Millis([&] { walked = s.Walk(); }));
    if (walked != shape.Total())
        std::fprintf(stderr, "%s walked %ld of %d nodes\n", s.Name(), walked, shape.Total());
    long checksum = 0;
    bool indexed = false;
    double t = Millis([&] { indexed = s.ReadByIndex(checksum); });
    if (indexed)
        Record(r, "read every node by absolute index", t);

    s.ScrollToTop();
    Record(r, "paint, collapsed, at the top", PaintOnce(s.View(), ShotName(s, "collapsed-at-the-top")));
    s.ScrollToLast();
    Record(r, "paint, collapsed, at the last node", PaintOnce(s.View(), ShotName(s, "collapsed-at-the-last-node")));
    s.ScrollToTop();
    Record(r, "expand all, view at the top", Millis([&] { s.ExpandAll(); }));
    Record(r, "paint, expanded, at the top", PaintOnce(s.View(), ShotName(s, "expanded-at-the-top")));
    s.ScrollToLast();
    Record(r, "paint, expanded, at the last node", PaintOnce(s.View(), ShotName(s, "expanded-at-the-last-node")));
    Record(r, "collapse all, view at the last node", Millis([&] { s.CollapseAll(); }));
    s.ScrollToLast();
    Record(r, "expand all, view at the last node", Millis([&] { s.ExpandAll(); }));
    s.ScrollToTop();
    Record(r, "collapse all, view at the top", Millis([&] { s.CollapseAll(); }));

    Record(r, "sort the children of every top-level node", Millis([&] { s.SortTopLevelChildren(); }));

    for (const char* form : {"binary", "text"}) {
        QByteArray data;
        bool saved = false;
        t = Millis([&] { saved = s.Save(form, data); });
        if (!saved)
            continue;
        Record(r, std::string("save, ") + form, t);
        Record(r, std::string("load, ") + form, Millis([&] { s.Load(form, data); }));
        if (s.Count() != shape.Total())
            std::fprintf(stderr, "%s loaded %ld of %d nodes\n", s.Name(), s.Count(), shape.Total());
    }

    bool selected = false;
    t = Millis([&] { selected = s.SelectAll(); });
    if (selected) {
        Record(r, "select all", t);
        Record(r, "clear the selection", Millis([&] { s.ClearSelection(); }));
    }
    s.ExpandAll();
    s.ScrollToTop();
    s.ClickTopRow();
    s.ScrollToLast();
    Record(r, "Shift+click range over every visible node", Millis([&] { s.ShiftClickLastRow(); }));
    s.ClearSelection();
    s.ScrollToTop();
    Record(r, "drag over the rows in view (rubber band)", Millis([&] { s.DragOverView(); }));
    s.ClearSelection();
    s.SelectChildrenOf(10);
    Record(r, "delete the selected tenth of the nodes", Millis([&] { s.DeleteSelected(); }));
    if (s.Count() != shape.Total() - 10 * shape.perParent)
        std::fprintf(stderr, "%s kept %ld nodes after deleting the selection\n", s.Name(), s.Count());
    Record(r, "delete all", Millis([&] { s.DeleteAll(); }));

    RunReordering(s, shape, r);
    RunPrinting(s, r);
    RunEditing(s, r);

    // The toolkit's bulk insertion, where there is one, on an empty control.
    bool bulk = false;
    t = Millis([&] { bulk = s.BuildBulk(shape); });
    if (bulk) {
        Record(r, "build with the toolkit's bulk insertion", t);
        s.DeleteAll();
    }
}

TResults Measure(const std::function<std::unique_ptr<TSubject>()>& make, const TShape& shape, int runs)
{
    TResults r;
    if (runs == 0)
        return r;
    std::unique_ptr<TSubject> subject = make();
    for (int i = 0; i < runs; ++i)
        RunOnce(*subject, shape, r, i == 0);
    subject.reset();
    QApplication::processEvents();
    return r;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int runs = 3;
    bool each = false;
    std::string only;
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc)
            only = argv[++i];
        else if (std::strcmp(argv[i], "--shots") == 0 && i + 1 < argc)
            SavePaintsTo(argv[++i]);
        else if (std::strcmp(argv[i], "--each") == 0)
            each = true;
        else
            sizes.push_back(std::atoi(argv[i]));
    }
    auto runsOf = [&](const char* subject) { return only.empty() || only == subject ? runs : 0; };
    if (sizes.empty())
        sizes = {100000, 1000000};

    for (int total : sizes) {
        TShape shape;
        shape.topLevel = 100;
        shape.perParent = std::max(1, total / 100);
        TResults lx = Measure(MakeLxTreeView, shape, runsOf("lx"));
        TResults widget = Measure(MakeQTreeWidget, shape, runsOf("widget"));
        TResults view = Measure(MakeQTreeView, shape, runsOf("view"));
        PrintTable(shape, Workloads, lx, widget, view);
        if (each)
            PrintEachRun(Workloads, {{"lxTreeView", &lx}, {"QTreeWidget", &widget}, {"QTreeView", &view}});
    }
    return 0;
}
