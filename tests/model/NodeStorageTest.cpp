// Nodes keep their text and image indices in compact fields; what the application set
// must read back unchanged, whatever its size.
#include <climits>
#include <string>

#include "tests/model/PersistenceSupport.h"

namespace {

using NodeStorage = PersistenceFixture;

TEST_F(NodeStorage, TextsOfEveryLengthReadBackAndSurviveSelfAssignmentAndMoves)
{
    const std::string Lengths[] = {"", "x", std::string(15, 'a'), std::string(16, 'b'), std::string(300, 'c'),
                                   std::string("nul\0inside", 10), "\xC3\xA4\xC3\xB6\xC3\xBC longer than fourteen"};
    TlxTreeViewNode* Parent = Items()->Add(nullptr, "parent");
    for (const std::string& Text : Lengths) {
        TlxTreeViewNode* Node = Items()->AddChild(Parent, Text);
        EXPECT_EQ(Node->Text(), Text);
        EXPECT_EQ(Node->TextView(), Text);
        Node->Assign(Node); // copies the node onto itself, text included
        EXPECT_EQ(Node->Text(), Text);
        Node->SetText(Node->Text() + Node->Text()); // grows from inline to the heap
        EXPECT_EQ(Node->Text(), Text + Text);
        Node->SetText(Text);
        Node->MoveTo(nullptr, naAdd);
        EXPECT_EQ(Node->Text(), Text);
    }
    EXPECT_EQ(Children(Parent), "");
}

TEST_F(NodeStorage, WideImageIndicesReadBackAndSaveAsTheyWereSet)
{
    const int Values[] = {-1, -2, 0, 127, 128, 32767, 32768, -32768, -32769, 100000, INT_MAX, INT_MIN};
    for (int Value : Values) {
        TlxTreeViewNode* Node = Items()->Add(nullptr, "n");
        Node->SetImageIndex(Value);
        Node->SetSelectedIndex(Value);
        Node->SetStateIndex(Value);
        EXPECT_EQ(Node->ImageIndex(), Value);
        EXPECT_EQ(Node->SelectedIndex(), Value);
        EXPECT_EQ(Node->StateIndex(), Value);
        Node->SetStateIndex(3); // back to a narrow value
        EXPECT_EQ(Node->StateIndex(), 3);
        Node->SetStateIndex(Value);
    }
    const std::string Saved = SaveBinary();
    PersistenceFixture::Tree Other;
    Other.Load(Saved);
    EXPECT_EQ(Other.SaveBinary(), Saved);
    TlxTreeViewNode* Wide = Other.Items()->GetFirstNode();
    for (int Value : Values) {
        EXPECT_EQ(Wide->ImageIndex(), Value);
        Wide = Wide->GetNextSibling();
    }
    Items()->Clear(); // nodes with wide values leave without a trace (the sanitizers check)
}

} // namespace
