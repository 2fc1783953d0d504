#pragma once
#include "control/lxTreeViewControl.h"

// Drops every event handler of a tree, for fixtures whose tests' handlers capture
// locals that are gone when the fixture frees the control.
inline void ClearTreeEvents(TCustomlxTreeView* t)
{
    t->OnCustomDraw = nullptr;
    t->OnBeforeCustomDraw = nullptr;
    t->OnCustomDrawItem = nullptr;
    t->OnBeforeCustomDrawItem = nullptr;
    t->OnEditing = nullptr;
    t->OnEdited = nullptr;
    t->OnExpanded = nullptr;
    t->OnExpanding = nullptr;
    t->OnCollapsed = nullptr;
    t->OnCollapsing = nullptr;
    t->OnChanging = nullptr;
    t->OnChange = nullptr;
    t->OnCompare = nullptr;
    t->OnDeletion = nullptr;
    t->OnGetImageIndex = nullptr;
    t->OnGetSelectedIndex = nullptr;
    t->OnHint = nullptr;
    t->OnAutoExpanded = nullptr;
    t->OnCreateNode = nullptr;
    t->OnChecking = nullptr;
    t->OnChecked = nullptr;
    t->OnLevelError = nullptr;
    t->OnKeyDown = nullptr;
    t->OnKeyPress = nullptr;
    t->OnKeyUp = nullptr;
    t->OnMouseDown = nullptr;
    t->OnMouseUp = nullptr;
    t->OnMouseMove = nullptr;
    t->OnClick = nullptr;
    t->OnDblClick = nullptr;
    t->OnPopup = nullptr;
    t->OnHelpContext = nullptr;
}
