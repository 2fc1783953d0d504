// The demo's node dragging and its sort menu. A node dropped on the upper or lower
// quarter of a row goes before or after that row's node, shown by the insertion mark;
// dropped on the middle it becomes the last child. Every selected node moves, each with
// its subtree.
#include <QMenuBar>
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "control/lxTreeViewControl.h"
#include "demo/DemoWindow.h"

namespace {

enum class TDropPlace { Before, Child, After };

TDropPlace DropPlaceAt(TlxTreeViewNode* Node, int Y)
{
    const RECT row = Node->DisplayRect(false);
    const int quarter = (row.bottom - row.top) / 4;
    if (Y < row.top + quarter)
        return TDropPlace::Before;
    if (Y >= row.bottom - quarter)
        return TDropPlace::After;
    return TDropPlace::Child;
}

// The selected nodes that no other selected node contains, in tree order.
std::vector<TlxTreeViewNode*> DraggedNodes(TCustomlxTreeView* Tree)
{
    std::vector<TlxTreeViewNode*> nodes;
    for (TlxTreeViewNode* node = Tree->Items()->GetFirstNode(); node; node = node->GetNext()) {
        if (!node->Selected())
            continue;
        bool inside = false;
        for (TlxTreeViewNode* up = node->Parent(); up && !inside; up = up->Parent())
            inside = up->Selected();
        if (!inside)
            nodes.push_back(node);
    }
    return nodes;
}

bool CanDropOn(TCustomlxTreeView* Tree, TlxTreeViewNode* Target)
{
    if (!Target)
        return false;
    for (TlxTreeViewNode* node : DraggedNodes(Tree))
        if (Target == node || Target->HasAsParent(node))
            return false;
    return true;
}

void MoveDraggedNodes(TCustomlxTreeView* Tree, TlxTreeViewNode* Target, TDropPlace Place)
{
    std::vector<TlxTreeViewNode*> nodes = DraggedNodes(Tree);
    if (Place == TDropPlace::After)
        std::reverse(nodes.begin(), nodes.end()); // each lands right after the target
    for (TlxTreeViewNode* node : nodes) {
        switch (Place) {
        case TDropPlace::Child: node->MoveTo(Target, naAddChild); break;
        case TDropPlace::After: node->MoveTo(Target, naInsert); break;
        case TDropPlace::Before:
            if (TlxTreeViewNode* previous = Target->GetPrevSibling(); previous && previous != node)
                node->MoveTo(previous, naInsert);
            else if (!previous)
                node->MoveTo(Target, naAddFirst);
            break;
        }
    }
}

// Texts compared with their runs of digits as numbers: "Version 7.9" before "7.10".
int CompareNatural(const std::string& A, const std::string& B)
{
    std::size_t i = 0, j = 0;
    while (i < A.size() && j < B.size()) {
        if (std::isdigit(static_cast<unsigned char>(A[i])) && std::isdigit(static_cast<unsigned char>(B[j]))) {
            std::size_t endA = i, endB = j;
            while (endA < A.size() && std::isdigit(static_cast<unsigned char>(A[endA])))
                ++endA;
            while (endB < B.size() && std::isdigit(static_cast<unsigned char>(B[endB])))
                ++endB;
            const long long a = std::stoll(A.substr(i, std::min<std::size_t>(endA - i, 18)));
            const long long b = std::stoll(B.substr(j, std::min<std::size_t>(endB - j, 18)));
            if (a != b)
                return a < b ? -1 : 1;
            i = endA;
            j = endB;
            continue;
        }
        const int a = std::tolower(static_cast<unsigned char>(A[i++]));
        const int b = std::tolower(static_cast<unsigned char>(B[j++]));
        if (a != b)
            return a < b ? -1 : 1;
    }
    return int(A.size() - i) - int(B.size() - j);
}

int DataOf(TlxTreeViewNode* Node) { return int(reinterpret_cast<std::intptr_t>(Node->Data())); }

} // namespace

void TDemoWindow::EnableNodeDragging()
{
    FTree->SetDragMode(dmAutomatic);
    FTree->OnDragOver = [this](TObject*, TObject* Source, int X, int Y, TDragState State, bool& Accept) {
        TlxTreeViewNode* target = FTree->GetNodeAt(X, Y);
        Accept = Source == FTree.get() && State != dsDragLeave && CanDropOn(FTree.get(), target);
        const TDropPlace place = Accept ? DropPlaceAt(target, Y) : TDropPlace::Child;
        if (place == TDropPlace::Child)
            FTree->ShowMark(nullptr, lxAfter);
        else
            FTree->ShowMark(target, place == TDropPlace::Before ? lxBefore : lxAfter);
    };
    FTree->OnDragDrop = [this](TObject*, TObject*, int X, int Y) {
        FTree->ShowMark(nullptr, lxAfter);
        TlxTreeViewNode* target = FTree->GetNodeAt(X, Y);
        if (CanDropOn(FTree.get(), target))
            MoveDraggedNodes(FTree.get(), target, DropPlaceAt(target, Y));
        UpdateStatus();
    };
    FTree->OnEndDrag = [this](TObject*, TObject*, int, int) { FTree->ShowMark(nullptr, lxAfter); };
}

void TDemoWindow::BuildSortMenu()
{
    QMenu* sort = menuBar()->addMenu("&Sort");
    QAction* descending = new QAction("&Descending", sort);
    descending->setCheckable(true);
    struct TSortEntry {
        const char* title;
        TSortType type;
        bool natural;
    };
    static const TSortEntry entries[] = {{"By &text", stText, false},
                                         {"By d&ata (the text's length)", stData, false},
                                         {"By text, then da&ta", stBoth, false},
                                         {"&Custom: numbers in order", stText, true}};
    for (const TSortEntry& entry : entries)
        sort->addAction(entry.title, this, [this, entry, descending] {
            const int sign = descending->isChecked() ? -1 : 1;
            FTree->OnCompare = [entry, sign](TObject*, TlxTreeViewNode* A, TlxTreeViewNode* B, int, int& Compare) {
                const int byText = entry.natural ? CompareNatural(A->Text(), B->Text()) : CompareText(A->Text(), B->Text());
                const int byData = DataOf(A) - DataOf(B);
                Compare = sign * (entry.type == stData ? byData : (byText != 0 || entry.type == stText ? byText : byData));
            };
            FTree->SetSortType(entry.type);
            FTree->AlphaSort();
        });
    sort->addSeparator();
    sort->addAction(descending);
    sort->addAction("&Unsorted (keep the order)", this, [this] {
        FTree->SetSortType(stNone);
        FTree->OnCompare = nullptr;
    });
}
