// The binary form against a stored file: a tree that uses every attribute a node
// block holds must save to exactly the stored bytes, and the stored bytes must load
// back into the same tree. Any change to the layout or to what is written shows here.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/model/PersistenceSupport.h"

#ifndef LX_STORED_TREE
#error "LX_STORED_TREE names the stored tree file"
#endif

namespace {

void* DataValue(std::uintptr_t Value)
{
    return reinterpret_cast<void*>(Value);
}

// Three levels under a collection of check boxes: radio buttons, grayed boxes and
// text buttons below, short inline and long texts (one as long as a record keeps),
// image, state and overlay indices, data, own colours and fonts, disabled, expanded
// and selected nodes, heights of several rows and the variable strings.
void BuildStoredTree(TlxTreeViewNodes* Items)
{
    Items->SetCheckType(lxtCheckBox);
    TlxTreeViewNode* Radio = Items->AddObject(nullptr, "Radio", DataValue(0x1234));
    Radio->SetImageIndex(1);
    Radio->SetSelectedIndex(2);
    Radio->SetOverlayIndex(0);
    Radio->SetCheckState(lxsChecked);
    Radio->SetCheckType(lxtRadioButton);
    Radio->SetMultiHeight(2);
    Radio->SetColor(0x00102030);
    Items->AddChild(Radio, "First choice");
    TlxTreeViewNode* Second = Items->AddChild(Radio, "Second choice");
    Second->SetCheckState(lxsChecked);
    TlxTreeViewNode* Off = Items->AddChild(Radio, "A disabled choice with a text longer than fifteen");
    Off->SetEnabled(false);
    Off->SetStateIndex(3);

    TlxTreeViewNode* Grayed = Items->Add(nullptr, "Grayed boxes");
    Grayed->SetCheckType(lxtCheckBoxGrayed);
    TFont Bold;
    Bold.SetName("DejaVu Sans Mono");
    Bold.SetHeight(-15);
    Bold.SetPitch(fpFixed);
    Bold.SetStyle(TFontStyles{fsBold, fsItalic});
    Bold.SetColor(0x000000C0);
    Grayed->SetFont(&Bold);
    TlxTreeViewNode* Mixed = Items->AddChild(Grayed, "Mixed");
    Mixed->SetCheckType(lxtTextButton);
    Mixed->SetCheckState(lxsGrayed);
    TlxTreeViewNode* Leaf = Items->AddChildObject(Mixed, std::string(255, 't'), DataValue(0xCAFEBABE));
    Leaf->SetImageIndex(5);
    Leaf->SetSelectedIndex(6);
    Leaf->SetMultiHeight(3);
    Leaf->SetVarType(8);
    Leaf->SetVarName("name");
    Leaf->SetVarValue("a value of the variable");
    Items->AddChild(Mixed, "");
    Items->AddChild(Grayed, "Checked")->SetCheckState(lxsChecked);

    TlxTreeViewNode* Plain = Items->Add(nullptr, "Plain");
    Plain->SetOverlayIndex(2);
    Items->AddChild(Plain, "hidden child");

    Radio->Expand(false);
    Grayed->Expand(true);
    Items->SelectNode(Second, stSet);
}

std::string ReadFile(const std::string& Path)
{
    std::ifstream In(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

// Every attribute the binary form keeps, of one node, as one line for comparing.
std::string Describe(TlxTreeViewNode* Node)
{
    std::ostringstream S;
    S << Node->Level() << " '" << Node->Text() << "' img " << Node->ImageIndex() << "/" << Node->SelectedIndex()
      << " state " << Node->StateIndex() << " overlay " << Node->OverlayIndex() << " rows " << Node->MultiHeight()
      << " check " << int(Node->CheckType()) << ":" << int(Node->CheckState()) << " enabled " << Node->Enabled()
      << " expanded " << Node->Expanded() << " selected " << Node->Selected() << " data "
      << reinterpret_cast<std::uintptr_t>(Node->Data()) << " colour " << Node->ParentColor() << ":"
      << Node->Color() << " var " << Node->VarType() << ":" << Node->VarName() << "=" << Node->VarValue();
    if (!Node->ParentFont()) {
        TFont* Font = Node->Font();
        S << " font " << Font->Name() << " " << Font->Height() << " " << int(Font->Pitch()) << " "
          << Font->Style().Bits() << " " << Font->Color();
    }
    return S.str();
}

std::string DescribeTree(TlxTreeViewNodes* Items)
{
    std::string Result = "check type " + std::to_string(int(Items->CheckType())) + "\n";
    for (TlxTreeViewNode* Node = Items->GetFirstNode(); Node; Node = Node->GetNext())
        Result += Describe(Node) + "\n";
    return Result;
}

} // namespace

TEST_F(PersistenceFixture, TheBinaryFormMatchesTheStoredFile)
{
    const std::string Stored = ReadFile(LX_STORED_TREE);
    ASSERT_FALSE(Stored.empty()) << "cannot read " << LX_STORED_TREE;

    BuildStoredTree(Items());
    const std::string Saved = SaveBinary();
    if (Saved != Stored) {
        const std::string Actual = TempPath("StoredTree.actual.lxt");
        std::ofstream(Actual, std::ios::binary) << Saved;
        Created.pop_back(); // kept for comparing by hand
        ADD_FAILURE() << "the saved bytes differ from " << LX_STORED_TREE << "; they are in " << Actual;
    }

    // A file is written through a buffer of its own, to the same bytes.
    const std::string File = TempPath("StoredTree.lxt");
    tree->SaveToFile(File, true);
    EXPECT_EQ(ReadFile(File), Stored);

    // Loaded into a tree that holds other nodes, the file replaces them with the tree it was made from.
    PersistenceFixture::Tree Loaded;
    Loaded.Items()->AddChild(Loaded.Items()->Add(nullptr, "old"), "old child");
    Loaded.tree->LoadFromFile(LX_STORED_TREE);
    EXPECT_EQ(DescribeTree(Loaded.Items()), DescribeTree(Items()));
    EXPECT_EQ(Outline(Loaded.Items()), Outline(Items()));
    EXPECT_EQ(Loaded.SaveBinary(), Stored);

    // Loading the same file again, over itself, changes nothing.
    Loaded.tree->LoadFromFile(LX_STORED_TREE);
    EXPECT_EQ(DescribeTree(Loaded.Items()), DescribeTree(Items()));
    EXPECT_EQ(Loaded.SaveBinary(), Stored);
}
