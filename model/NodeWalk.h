#pragma once
// The walk over a subtree in document order, without recursion, so that deep trees
// cannot exhaust the stack.
#include <vector>

#include "model/lxTreeView.h"

// Visit(Node, Index) meets every node below Top, Index being its place among its
// siblings, before any of its children: it may reorder them, the walk reads a node's
// child list only once the node has been visited.
template <typename Visit>
void TlxTreeViewNode::WalkDescendants(const TlxTreeViewNode* Top, Visit&& VisitNode)
{
    struct TLevel {
        const TlxTreeViewNode* Parent;
        int Next;
    };
    std::vector<TLevel> Path{{Top, 0}};
    while (!Path.empty()) {
        TLevel& Level = Path.back();
        if (Level.Next >= Level.Parent->FChildren.Count()) {
            Path.pop_back();
            continue;
        }
        TlxTreeViewNode* Node = Level.Parent->FChildren.List()[Level.Next];
        VisitNode(Node, Level.Next++);
        if (Node->FChildren.Count() > 0)
            Path.push_back({Node, 0});
    }
}
