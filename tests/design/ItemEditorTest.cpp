// The item editor dialog, driven offscreen through its components and real Qt events.
#include <gtest/gtest.h>

#include <QTimer>
#include <memory>

#include "design/lxTreeViewEditor.h"

namespace {

TEST(ItemEditor, LayoutReads)
{
    TlxTreeViewEditor editor(nullptr);
    EXPECT_EQ(editor.Caption(), "lxTreeView Item Editor");
    EXPECT_EQ(editor.ClientWidth(), 752);
    EXPECT_EQ(editor.Tree->Left(), 6);
    EXPECT_EQ(editor.Tree->Parent(), editor.GroupBox3);
    EXPECT_EQ(editor.PopupMenu->Items()->Count(), 9);
}

} // namespace
