// TlxTreeViewNode navigation. Document order is depth-first pre-order over the child
// lists, collapsed subtrees included; the walks here follow the structure directly
// and give the same order as the collection's index cache.
#include "model/lxTreeView.h"

#include <algorithm>

TlxTreeViewNode* TlxTreeViewNode::GetParent() const
{
    if (Up() && Up() != Owner()->FRoot)
        return Up();
    return nullptr;
}

// Gives every child its position, for GetIndex to check and use.
void TlxTreeViewNode::RenumberChildren() const
{
    TlxTreeViewNode* const* Children = FChildren.List();
    for (int I = 0, N = FChildren.Count(); I < N; ++I)
        Children[I]->FIndexHint = I;
}

// The remembered index usually holds, or is near: siblings that came or went before
// this node moved it a few places. Only when it is far are all siblings renumbered at
// once, so that the next of them find their places without a search. Nodes that
// leave in another order than theirs (the window's, after a sort by data) or a walk
// that deletes as it goes would otherwise renumber them for every step.
int TlxTreeViewNode::GetIndex() const
{
    if (!Up())
        return -1;
    const TlxTreeNodeList& Siblings = Up()->FChildren;
    const int Near = Siblings.IndexNear(this, FIndexHint);
    if (Near >= 0)
        return FIndexHint = Near;
    Up()->RenumberChildren();
    const bool Holds = FIndexHint >= 0 && FIndexHint < Siblings.Count() && Siblings.List()[FIndexHint] == this;
    return Holds ? FIndexHint : -1;
}

int TlxTreeViewNode::IndexOf(const TlxTreeViewNode* Node) const
{
    if (!Node)
        return -1;
    if (Node->Up() == this)
        return Node->GetIndex();
    return FChildren.IndexOf(Node);
}

TlxTreeViewNode* TlxTreeViewNode::GetItem(int Index) const
{
    if (Index > FChildren.Count() - 1)
        throw ElxTreeViewError(SListIndexError);
    return FChildren.Get(Index);
}

void TlxTreeViewNode::SetItem(int Index, TlxTreeViewNode* Value)
{
    GetItem(Index)->Assign(Value);
}

// A child reached by position learns it, so that a walk through the siblings finds
// each next one's place at once, whatever came or went before.
TlxTreeViewNode* TlxTreeViewNode::ChildAt(int Index) const
{
    TlxTreeViewNode* Child = FChildren.List()[Index];
    Child->FIndexHint = Index;
    return Child;
}

TlxTreeViewNode* TlxTreeViewNode::GetFirstChild() const
{
    return FChildren.Count() > 0 ? ChildAt(0) : nullptr;
}

TlxTreeViewNode* TlxTreeViewNode::GetLastChild() const
{
    return FChildren.Count() > 0 ? ChildAt(FChildren.Count() - 1) : nullptr;
}

TlxTreeViewNode* TlxTreeViewNode::GetNextSibling() const
{
    if (!Up())
        return nullptr;
    const int I = GetIndex();
    if (I < 0 || I >= Up()->FChildren.Count() - 1)
        return nullptr;
    return Up()->ChildAt(I + 1);
}

TlxTreeViewNode* TlxTreeViewNode::GetPrevSibling() const
{
    if (!Up())
        return nullptr;
    const int I = GetIndex();
    if (I < 1)
        return nullptr;
    return Up()->ChildAt(I - 1);
}

TlxTreeViewNode* TlxTreeViewNode::GetNextChild(const TlxTreeViewNode* Node) const
{
    if (!Node || Node->Up() != this)
        return nullptr;
    return Node->GetNextSibling();
}

TlxTreeViewNode* TlxTreeViewNode::GetPrevChild(const TlxTreeViewNode* Node) const
{
    if (!Node || Node->Up() != this)
        return nullptr;
    return Node->GetPrevSibling();
}

// The first node after this node's subtree: the next sibling of the node or of its
// nearest ancestor that has one below the hidden root.
TlxTreeViewNode* TlxTreeViewNode::NextOutsideSubtree() const
{
    for (const TlxTreeViewNode* Node = this; Node->Up(); Node = Node->Up())
        if (TlxTreeViewNode* Next = Node->GetNextSibling())
            return Next;
    return nullptr;
}

TlxTreeViewNode* TlxTreeViewNode::GetNext() const
{
    if (FChildren.Count() > 0)
        return ChildAt(0);
    return NextOutsideSubtree();
}

TlxTreeViewNode* TlxTreeViewNode::GetPrev() const
{
    if (TlxTreeViewNode* Node = GetPrevSibling()) {
        while (TlxTreeViewNode* Last = Node->GetLastChild())
            Node = Last;
        return Node;
    }
    return GetParent();
}

// Whether A comes before B in document order: an ancestor comes before its
// descendants, and below their closest common ancestor the sibling order decides.
bool TlxTreeViewNode::PrecedesInDocument(const TlxTreeViewNode* A, const TlxTreeViewNode* B)
{
    int DepthA = A->GetLevel(), DepthB = B->GetLevel();
    for (; DepthA > DepthB; --DepthA)
        if ((A = A->Up()) == B)
            return false;
    for (; DepthB > DepthA; --DepthB)
        if ((B = B->Up()) == A)
            return true;
    while (A->Up() && B->Up() && A->Up() != B->Up()) { // a node out of the tree has no common ancestor
        A = A->Up();
        B = B->Up();
    }
    return A != B && A->GetIndex() < B->GetIndex();
}

// The index cache lists the nodes in document order, so a node's place in it is
// found by halving, without a position kept in every node.
int TlxTreeViewNode::GetAbsoluteIndex() const
{
    Owner()->FillCache();
    const TlxTreeNodeList& Cache = *Owner()->FCache;
    TlxTreeViewNode* const* First = Cache.List();
    TlxTreeViewNode* const* Last = First + Cache.Count();
    TlxTreeViewNode* const* Found = std::partition_point(
        First, Last, [this](const TlxTreeViewNode* Node) { return PrecedesInDocument(Node, this); });
    return Found != Last && *Found == this ? int(Found - First) : -1;
}

int TlxTreeViewNode::GetLevel() const
{
    int Result = 0;
    for (const TlxTreeViewNode* Node = Up(); Node && Node->Up(); Node = Node->Up())
        ++Result;
    return Result;
}

// Counts the subtree without recursion, so that deep trees cannot exhaust the stack.
int TlxTreeViewNode::GetChildrenCount() const
{
    int Result = 0;
    const TlxTreeViewNode* Node = this;
    for (;;) {
        if (Node->FChildren.Count() > 0) {
            Node = Node->FChildren.List()[0];
            ++Result;
            continue;
        }
        while (Node != this && !Node->GetNextSibling())
            Node = Node->Up();
        if (Node == this)
            return Result;
        Node = Node->GetNextSibling();
        ++Result;
    }
}

bool TlxTreeViewNode::HasAsParent(const TlxTreeViewNode* Value) const
{
    if (!Value)
        return true;
    for (const TlxTreeViewNode* Node = this; Node; Node = Node->GetParent())
        if (Node == Value)
            return true;
    return false;
}

bool TlxTreeViewNode::IsNodeVisible() const
{
    for (const TlxTreeViewNode* Node = Up(); Node; Node = Node->Up())
        if (!Node->FExpanded)
            return false;
    return true;
}

// The collapsed node nearest the hidden root among this node's ancestors (the hidden
// root included), or null when the node is visible.
TlxTreeViewNode* TlxTreeViewNode::TopmostCollapsedAncestor() const
{
    TlxTreeViewNode* Result = nullptr;
    for (TlxTreeViewNode* Node = Up(); Node; Node = Node->Up())
        if (!Node->FExpanded)
            Result = Node;
    return Result;
}

// Nodes hidden by a collapsed ancestor are skipped as a whole subtree: after a
// visible node comes its first child when it is expanded, else the node after its
// subtree; after a hidden node comes the node after the subtree that hides it.
TlxTreeViewNode* TlxTreeViewNode::GetNextVisible() const
{
    const TlxTreeViewNode* Hider = TopmostCollapsedAncestor();
    if (!Hider) {
        if (FExpanded && FChildren.Count() > 0)
            return FChildren.List()[0];
        return NextOutsideSubtree();
    }
    if (!Hider->Up())
        return nullptr; // the hidden root itself is collapsed: nothing shows
    return Hider->NextOutsideSubtree();
}

// The reverse walk: before a visible node comes the deepest visible last descendant
// of its previous sibling, else its parent; before a hidden node comes the collapsed
// node that hides it.
TlxTreeViewNode* TlxTreeViewNode::GetPrevVisible() const
{
    TlxTreeViewNode* Hider = TopmostCollapsedAncestor();
    if (Hider)
        return Hider->Up() ? Hider : nullptr;
    if (TlxTreeViewNode* Node = GetPrevSibling()) {
        while (Node->FExpanded && Node->FChildren.Count() > 0)
            Node = Node->GetLastChild();
        return Node;
    }
    return GetParent();
}
