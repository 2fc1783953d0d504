#pragma once
#include <string>
#include <vector>

#include "support/FormWithTree.h"
#include "platform/win/WinApi.h"

// A tree view on a form, with helpers that read the model and the native items.
class ModelFixture : public FormWithTree {
protected:
    // The texts of a node's children, or of the top level for null.
    static std::string Children(TlxTreeViewNodes* Nodes, TlxTreeViewNode* Parent)
    {
        std::string Result;
        for (TlxTreeViewNode* Node = Parent ? Parent->GetFirstChild() : Nodes->GetFirstNode(); Node;
             Node = Node->GetNextSibling())
            Result += (Result.empty() ? "" : " ") + Node->Text();
        return Result;
    }
    std::string Children(TlxTreeViewNode* Parent) { return Children(Items(), Parent); }

    // The same, as the native tree orders the items.
    std::string NativeChildren(TlxTreeViewNode* Parent)
    {
        const HWND Wnd = tree->Handle();
        HTREEITEM Item = reinterpret_cast<HTREEITEM>(
            SendMessageA(Wnd, TVM_GETNEXTITEM, Parent ? TVGN_CHILD : TVGN_ROOT, LPARAM(Parent ? Parent->ItemId() : nullptr)));
        std::string Result;
        for (; Item; Item = reinterpret_cast<HTREEITEM>(SendMessageA(Wnd, TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(Item))))
            Result += (Result.empty() ? "" : " ") + Items()->GetNode(Item)->Text();
        return Result;
    }

    // The parents whose children the model and the native tree order differently, and
    // the nodes whose Index or AbsoluteIndex is off; empty when all agree.
    std::string Disagreements()
    {
        std::string Result;
        if (Children(nullptr) != NativeChildren(nullptr))
            Result += "<top> ";
        int Absolute = 0;
        for (TlxTreeViewNode* Node = Items()->GetFirstNode(); Node; Node = Node->GetNext(), ++Absolute) {
            if (Children(Node) != NativeChildren(Node))
                Result += Node->Text() + " ";
            const TlxTreeViewNode* Parent = Node->Parent();
            if (Node->AbsoluteIndex() != Absolute || Items()->Item(Absolute) != Node ||
                (Parent ? Parent->Item(Node->Index()) : Items()->Root()->Item(Node->Index())) != Node)
                Result += "#" + Node->Text() + " ";
        }
        return Result;
    }

    // Texts of the nodes met by a walk with Step from First.
    template <typename StepFn>
    static std::string Walk(TlxTreeViewNode* First, StepFn Step)
    {
        std::string Result;
        for (TlxTreeViewNode* Node = First; Node; Node = Step(Node))
            Result += (Result.empty() ? "" : " ") + Node->Text();
        return Result;
    }
};
