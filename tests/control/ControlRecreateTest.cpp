#include <QImage>
#include <QTest>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win/Gdi.h"
#include "tests/control/TreeFixture.h"

namespace {

// Every node's text, indented by level, in document order.
std::vector<std::string> Outline(TlxTreeViewNodes* items)
{
    std::vector<std::string> lines;
    for (TlxTreeViewNode* n = items->GetFirstNode(); n; n = n->GetNext())
        lines.push_back(std::string(std::size_t(n->Level()), ' ') + n->Text());
    return lines;
}

class RecreateFixture : public TreeFixture {
protected:
    void BuildTree()
    {
        for (int i = 0; i < 8; ++i) {
            TlxTreeViewNode* parent = Items()->Add(nullptr, "Parent " + std::to_string(i));
            for (int j = 0; j < 5; ++j)
                Items()->AddChild(parent, "Child " + std::to_string(i) + "." + std::to_string(j));
            parent->Expand(false);
        }
    }
    void ToggleReadOnly()
    {
        TTreeOptions options = tree->Options();
        if (options.Contains(roReadOnly))
            options.Exclude(roReadOnly);
        else
            options.Include(roReadOnly);
        tree->SetOptions(options);
    }
};

} // namespace

TEST_F(RecreateFixture, RecreatingTheWindowKeepsTreeTopItemSelectionIndentAndItemHeight)
{
    BuildTree();
    const std::vector<std::string> outline = Outline(Items());
    tree->SetIndent(27);
    tree->SetItemHeight(22);
    tree->SetTopItem(Items()->Item(12));
    tree->SetSelection(Items()->Item(15));
    const int topIndex = tree->TopItem()->AbsoluteIndex();
    ASSERT_GT(topIndex, 0);

    struct TStep {
        const char* what;
        std::function<void()> change;
    };
    const TStep steps[] = {
        {"roReadOnly on", [&] { ToggleReadOnly(); }},
        {"roReadOnly off", [&] { ToggleReadOnly(); }},
        {"flat look", [&] { tree->SetCtl3D(false); }},
        {"colour", [&] { tree->SetColor(clYellow); }},
        {"no border", [&] { tree->SetBorderStyle(bsNone); }},
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.what);
        HWND before = tree->Handle();
        step.change();
        EXPECT_FALSE(IsWindow(before)) << "the window was not recreated";
        EXPECT_TRUE(tree->HandleAllocated());
        EXPECT_EQ(Outline(Items()), outline);
        EXPECT_EQ(Items()->Count(), int(outline.size()));
        ASSERT_NE(tree->TopItem(), nullptr);
        EXPECT_EQ(tree->TopItem()->AbsoluteIndex(), topIndex);
        ASSERT_NE(tree->Selection(), nullptr);
        EXPECT_EQ(tree->Selection()->AbsoluteIndex(), 15);
        EXPECT_EQ(tree->Indent(), 27);
        EXPECT_EQ(tree->ItemHeight(), 22);
    }
    auto style = DWORD(GetWindowLongA(tree->Handle(), GWL_STYLE));
    EXPECT_FALSE(style & WS_BORDER);
    // Without a border the 3-D look needs no new window.
    HWND window = tree->Handle();
    tree->SetCtl3D(true);
    EXPECT_EQ(tree->Handle(), window);
}

TEST_F(RecreateFixture, RecreationKeepsTheMultiSelectionAndMultiSelectNeedsNoNewWindow)
{
    BuildTree();
    TTreeOptions options = tree->Options();
    options.Include(roMultiSelect);
    tree->SetOptions(options);
    HWND window = tree->Handle();
    EXPECT_EQ(tree->Handle(), window);
    TlxTreeViewNode* caret = Items()->Item(3);
    tree->SetSelection(caret);
    Items()->SelectNode(Items()->Item(7), stSet);
    Items()->SelectNode(Items()->Item(20), stSet);
    ASSERT_EQ(Items()->GetSelectedCount(), 3);

    ToggleReadOnly();
    std::vector<int> selected;
    for (TlxTreeViewNode* n = Items()->GetFirstNode(); n; n = n->GetNext())
        if (Items()->IsInSelection(n))
            selected.push_back(n->AbsoluteIndex());
    EXPECT_EQ(selected, (std::vector<int>{3, 7, 20}));
    EXPECT_TRUE(Items()->Item(20)->GetState(nsSelected));

    // Removing multi-selection keeps the window and empties the selection.
    window = tree->Handle();
    options = tree->Options();
    options.Exclude(roMultiSelect);
    tree->SetOptions(options);
    EXPECT_EQ(tree->Handle(), window);
    EXPECT_EQ(Items()->GetSelectedCount(), 0);
    EXPECT_FALSE(Items()->Item(20)->GetState(nsSelected));
}

TEST_F(RecreateFixture, ATreeWithoutSelectionComesBackWithTheFirstNodeSelected)
{
    Items()->Add(nullptr, "first");
    Items()->Add(nullptr, "second");
    ASSERT_EQ(tree->Selection(), nullptr);
    ToggleReadOnly();
    ASSERT_NE(tree->Selection(), nullptr);
    EXPECT_EQ(tree->Selection()->Text(), "first");
}

TEST_F(RecreateFixture, HandlersThatRaiseDuringRecreationLoseNoNodes)
{
    BuildTree();
    const std::vector<std::string> outline = Outline(Items());
    tree->SetSelection(Items()->Item(4));

    // OnChange fires for every node read back; the first one raises.
    int changes = 0;
    tree->OnChange = [&](TObject*, TlxTreeViewNode*) {
        ++changes;
        throw std::runtime_error("change refused");
    };
    EXPECT_THROW(ToggleReadOnly(), std::runtime_error);
    tree->OnChange = nullptr;
    EXPECT_GT(changes, 0);
    EXPECT_TRUE(tree->HandleAllocated());
    EXPECT_TRUE(tree->Options().Contains(roReadOnly));
    EXPECT_EQ(Outline(Items()), outline);
    EXPECT_EQ(Items()->Count(), int(outline.size()));

    // Collapsing before the old window goes raises: the window still goes and comes back.
    tree->OnCollapsing = [](TObject*, TlxTreeViewNode*, bool&) { throw std::runtime_error("collapse refused"); };
    HWND before = tree->Handle();
    EXPECT_THROW(tree->SetBorderStyle(bsNone), std::runtime_error);
    tree->OnCollapsing = nullptr;
    EXPECT_FALSE(IsWindow(before));
    EXPECT_TRUE(tree->HandleAllocated());
    EXPECT_EQ(Outline(Items()), outline);

    // The tree still works.
    Items()->Add(nullptr, "after");
    EXPECT_EQ(Items()->Count(), int(outline.size()) + 1);
}

TEST_F(TreeFixture, WindowPropertiesReadBackAsTheNativeTreeHasThem)
{
    Items()->Add(nullptr, "node");

    // Insertion-mark colour: every window creation resets it.
    tree->SetMarkColor(clRed);
    EXPECT_EQ(tree->MarkColor(), clRed);
    EXPECT_EQ(COLORREF(SendMessageA(tree->Handle(), TVM_GETINSERTMARKCOLOR, 0, 0)), ColorToRGB(clRed));
    tree->SetBorderStyle(bsNone);
    EXPECT_EQ(tree->MarkColor(), clBtnFace);
    EXPECT_EQ(COLORREF(SendMessageA(tree->Handle(), TVM_GETINSERTMARKCOLOR, 0, 0)), ColorToRGB(clBtnFace));

    // Scroll delay: at least 100, and what the window reports afterwards.
    tree->SetScrollDelayTime(50);
    EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETSCROLLTIME, 0, 0), 100);
    EXPECT_EQ(tree->ScrollDelayTime(), 100);
    tree->SetScrollDelayTime(450);
    EXPECT_EQ(tree->ScrollDelayTime(), 450);
    tree->SetBorderStyle(bsSingle);
    EXPECT_EQ(tree->ScrollDelayTime(), 450);

    // Item height is 8-bit signed; values below 1 ask for the default height.
    const std::int8_t standard = tree->ItemHeight();
    tree->SetItemHeight(0);
    EXPECT_EQ(tree->ItemHeight(), standard);
    tree->SetItemHeight(-5);
    EXPECT_EQ(tree->ItemHeight(), standard);
    SendMessageA(tree->Handle(), TVM_SETITEMHEIGHT, 130, 0);
    EXPECT_LT(tree->ItemHeight(), 0);
    EXPECT_EQ(tree->ItemHeight(), std::int8_t(130));

    // Options with row select are stored without lines.
    TTreeOptions options = tree->Options();
    options.Include(roRowSelect);
    options.Include(roShowLines);
    tree->SetOptions(options);
    EXPECT_FALSE(tree->Options().Contains(roShowLines));
    EXPECT_TRUE(tree->Options().Contains(roRowSelect));
    auto style = DWORD(GetWindowLongA(tree->Handle(), GWL_STYLE));
    EXPECT_TRUE(style & TVS_FULLROWSELECT);
    EXPECT_FALSE(style & TVS_HASLINES);

    // Automatic dragging lifts the native drag ban, manual restores it.
    tree->SetDragMode(dmAutomatic);
    EXPECT_FALSE(GetWindowLongA(tree->Handle(), GWL_STYLE) & TVS_DISABLEDRAGDROP);
    tree->SetDragMode(dmManual);
    EXPECT_TRUE(GetWindowLongA(tree->Handle(), GWL_STYLE) & TVS_DISABLEDRAGDROP);
}

TEST_F(TreeFixture, StateImagesFallBackToTheSharedCheckGlyphs)
{
    Items()->Add(nullptr, "node");
    auto stateList = [&] { return reinterpret_cast<HIMAGELIST>(SendMessageA(tree->Handle(), TVM_GETIMAGELIST, TVSIL_STATE, 0)); };
    ASSERT_NE(SharedCheckImages(), nullptr);
    EXPECT_EQ(SharedCheckImages()->Width(), 16);
    EXPECT_EQ(stateList(), SharedCheckImages()->Handle());

    auto* own = new TImageList(form.get(), 16, 16);
    TBitmap glyph;
    glyph.SetSize(16, 16);
    own->AddMasked(&glyph, clDefault);
    tree->SetStateImages(own);
    EXPECT_EQ(stateList(), own->Handle());
    // The list's changes reach the window, also after a re-creation.
    tree->SetBorderStyle(bsNone);
    EXPECT_EQ(stateList(), own->Handle());

    auto* images = new TImageList(form.get(), 16, 16);
    tree->SetImages(images);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(tree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0)),
              images->Handle());

    delete own; // removed from the form
    EXPECT_EQ(tree->StateImages(), nullptr);
    EXPECT_EQ(stateList(), SharedCheckImages()->Handle());
    delete images;
    EXPECT_EQ(tree->Images(), nullptr);
    EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0), 0);
}

TEST_F(RecreateFixture, TheInnerBorderLiesInsideTheFrameAndTheFlatLookComesFromTheForm)
{
    BuildTree();
    tree->SetColor(clYellow);
    RECT before, client;
    GetClientRect(tree->Handle(), &before);
    tree->SetBorderWidth(3);
    for (const char* step : {"border set", "window made again"}) {
        SCOPED_TRACE(step);
        GetClientRect(tree->Handle(), &client);
        EXPECT_EQ(client.right, before.right - 6);
        const QImage shot = View()->grab().toImage();
        EXPECT_NE(shot.pixelColor(1, 40), ColorRefToQColor(ColorToRGB(clYellow))) << "the frame stays outside";
        EXPECT_EQ(shot.pixelColor(2, 40), ColorRefToQColor(ColorToRGB(clYellow)));
        TlxTreeViewNode* node = Items()->Item(3);
        QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, LabelCentre(node));
        EXPECT_EQ(tree->Selection(), node) << "hit testing in the smaller client area";
        tree->SetSelection(nullptr);
        ToggleReadOnly();
    }

    form->SetCtl3D(false);
    EXPECT_FALSE(GetWindowLongA(tree->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) << "the tree follows the form";
    tree->SetCtl3D(true);
    form->SetCtl3D(true);
    form->SetCtl3D(false);
    EXPECT_TRUE(GetWindowLongA(tree->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) << "until it sets its own";
}
