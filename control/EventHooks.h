#pragma once
// How the control asks an application's handlers whether something may happen.

class TObject;
class TlxTreeViewNode;

// The answer of a "may it happen?" handler for Node, which starts from Allow; Allow
// itself when no handler is assigned.
template <class THandler>
bool AskHandler(const THandler& Handler, TObject* Sender, TlxTreeViewNode* Node, bool Allow = true)
{
    if (Handler)
        Handler(Sender, Node, Allow);
    return Allow;
}
