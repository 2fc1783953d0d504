#include <cstdint>
#include <string>

#include "tests/model/PersistenceSupport.h"

namespace {

const std::string Signature = "\x0DLXT\x0D";

// The node "Root" with a value for every field, its own colour and its own font.
NodeRecord RichRoot()
{
    NodeRecord R;
    R.Text = "Root";
    R.ImageIndex = 1;
    R.SelectedIndex = 2;
    R.StateIndex = 6;
    R.OverlayIndex = 0;
    R.MultiHeight = 2;
    R.CheckState = lxsChecked;
    R.CheckType = lxtRadioButton;
    R.Enabled = 0;
    R.Selected = 1;
    R.Data = 0x12345678;
    R.Color = 0x00112233;
    R.ParentColor = 0;
    R.ParentFont = 0;
    R.FontHeight = -13;
    R.FontPitch = fpFixed;
    R.FontStyle = 0x05; // bold and underline
    R.FontName = "DejaVu Sans Mono";
    R.FontColor = 0x000000FF;
    R.VarType = 7;
    R.VarName = "name";
    R.VarValue = "value";
    return R;
}

} // namespace

TEST_F(PersistenceFixture, AnEmptyTreeIsTenBytesOrNoTextAtAll)
{
    EXPECT_EQ(SaveBinary(), Signature + std::string("\0\0\0\0\0", 5));
    EXPECT_EQ(SaveText(), "");
    EXPECT_EQ(DesignerProperties().count("Data"), 0u);

    Items()->Add(nullptr, "gone");
    Load(Signature + std::string("\0\0\0\0\0", 5));
    EXPECT_EQ(Items()->GetFirstNode(), nullptr);
    EXPECT_EQ(Items()->Count(), 0);
}

// One node with every attribute: the bytes are exactly the record layout, and they
// load back into every attribute.
TEST_F(PersistenceFixture, OneNodeWithEveryAttributeLoadsAndSavesByteForByte)
{
    const std::string Stream = Signature + Bytes().U8(lxtCheckBox).I32(1).S + NodeBlock(RichRoot());
    std::vector<TlxTreeViewNode*> Changed;
    tree->OnChange = [&](TObject*, TlxTreeViewNode* Node) { Changed.push_back(Node); };
    Load(Stream);
    tree->OnChange = nullptr;

    EXPECT_EQ(Items()->CheckType(), lxtCheckBox);
    TlxTreeViewNode* Root = Items()->GetFirstNode();
    ASSERT_NE(Root, nullptr);
    EXPECT_EQ(Root->Text(), "Root");
    EXPECT_EQ(Root->ImageIndex(), 1);
    EXPECT_EQ(Root->SelectedIndex(), 2);
    EXPECT_EQ(Root->StateIndex(), 6);
    EXPECT_EQ(Root->OverlayIndex(), 0);
    EXPECT_EQ(Root->MultiHeight(), 2);
    EXPECT_EQ(Root->CheckState(), lxsChecked);
    EXPECT_EQ(Root->CheckType(), lxtRadioButton);
    EXPECT_FALSE(Root->Enabled());
    EXPECT_TRUE(Root->Selected());
    EXPECT_TRUE(NativeSelected(Root));
    EXPECT_EQ(Root->Data(), reinterpret_cast<void*>(std::uintptr_t(0x12345678)));
    EXPECT_FALSE(Root->ParentColor());
    EXPECT_EQ(Root->Color(), TColor(0x00112233));
    EXPECT_FALSE(Root->ParentFont());
    EXPECT_EQ(Root->Font()->Height(), -13);
    EXPECT_EQ(Root->Font()->Pitch(), fpFixed);
    EXPECT_EQ(Root->Font()->Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(Root->Font()->Name(), "DejaVu Sans Mono");
    EXPECT_EQ(Root->Font()->Color(), TColor(0x000000FF));
    EXPECT_EQ(Root->VarType(), 7);
    EXPECT_EQ(Root->VarName(), "name");
    EXPECT_EQ(Root->VarValue(), "value");
    // Adding and selecting each report the node.
    EXPECT_EQ(Changed, (std::vector<TlxTreeViewNode*>{Root, Root}));

    EXPECT_EQ(SaveBinary(), Stream);

    // At design time the selection is not stored.
    tree->SetDesigning(true);
    NodeRecord Unselected = RichRoot();
    Unselected.Selected = 0;
    EXPECT_EQ(SaveBinary(), Signature + Bytes().U8(lxtCheckBox).I32(1).S + NodeBlock(Unselected));
    tree->SetDesigning(false);
}

// A tree of three levels built in code saves as the hand-made blocks; loading them
// into another tree gives the same structure and attributes.
TEST_F(PersistenceFixture, AThreeLevelTreeSavesInPreOrderAndLoadsBack)
{
    int Value = 0;
    TlxTreeViewNode* A = Items()->Add(nullptr, "A");
    TlxTreeViewNode* A1 = Items()->AddChild(A, "A1");
    TlxTreeViewNode* A1a = Items()->AddChildObject(A1, "A1a", &Value);
    TlxTreeViewNode* B = Items()->Add(nullptr, "");
    A1a->SetImageIndex(4);
    A1a->SetVarValue("v");
    A1->SetColor(0x00000080);
    A->Expand(false);
    B->SetVarName("only a name");

    NodeRecord RA = PlainRecord("A", 1);
    RA.Expanded = 1;
    NodeRecord RA1 = PlainRecord("A1", 1);
    RA1.ParentColor = 0;
    RA1.Color = 0x00000080;
    NodeRecord RA1a = PlainRecord("A1a", 0);
    RA1a.ImageIndex = 4;
    RA1a.VarValue = "v";
    RA1a.Data = std::uint32_t(reinterpret_cast<std::uintptr_t>(&Value));
    NodeRecord RB = PlainRecord("", 0);
    RB.VarName = "only a name";
    const std::string Expected =
        Signature + Bytes().U8(lxtNone).I32(2).S + NodeBlock(RA) + NodeBlock(RA1) + NodeBlock(RA1a) + NodeBlock(RB);
    EXPECT_EQ(SaveBinary(), Expected);
    EXPECT_EQ(SaveText(), "A\r\n\tA1\r\n\t\tA1a\r\n\r\n");

    PersistenceFixture::Tree Other;
    Other.Load(Expected);
    EXPECT_EQ(Outline(Other.Items()), "A(A1(A1a))  ");
    TlxTreeViewNode* OA = Other.Items()->GetFirstNode();
    TlxTreeViewNode* OA1 = OA->GetFirstChild();
    TlxTreeViewNode* OA1a = OA1->GetFirstChild();
    EXPECT_TRUE(OA->Expanded());
    EXPECT_FALSE(OA1->Expanded());
    EXPECT_EQ(OA1->Color(), TColor(0x00000080));
    EXPECT_EQ(OA1a->ImageIndex(), 4);
    EXPECT_EQ(OA1a->VarValue(), "v");
    EXPECT_EQ(std::uint32_t(reinterpret_cast<std::uintptr_t>(OA1a->Data())),
              std::uint32_t(reinterpret_cast<std::uintptr_t>(&Value)));
    EXPECT_EQ(OA->GetNextSibling()->VarName(), "only a name");
    EXPECT_EQ(Other.SaveBinary(), Expected);

    // With roAutoExpand the stored expansion is ignored.
    PersistenceFixture::Tree AutoExpand;
    AutoExpand.tree->SetOptions(AutoExpand.tree->Options() + TTreeOptions{roAutoExpand});
    AutoExpand.Load(Expected);
    EXPECT_FALSE(AutoExpand.Items()->GetFirstNode()->Expanded());
}

// Texts longer than a record holds are cut in the binary form only; so are long
// font names.
TEST_F(PersistenceFixture, LongTextsAndFontNamesAreCutInTheBinaryForm)
{
    const std::string Long(300, 'x');
    TlxTreeViewNode* Node = Items()->Add(nullptr, Long);
    TFont Font;
    Font.SetName(std::string(40, 'f'));
    Node->SetFont(&Font);

    PersistenceFixture::Tree Binary;
    Binary.Load(SaveBinary());
    TlxTreeViewNode* Copy = Binary.Items()->GetFirstNode();
    EXPECT_EQ(Copy->Text(), std::string(255, 'x'));
    EXPECT_EQ(Copy->Font()->Name(), std::string(31, 'f'));

    PersistenceFixture::Tree Text;
    Text.Load(SaveText());
    EXPECT_EQ(Text.Items()->GetFirstNode()->Text(), Long);
}

TEST_F(PersistenceFixture, TheTextFormTakesAnyLineEndAndSpacesForTabs)
{
    for (const std::string& Input : {std::string("A\r\n\tA1\r\n\t\tA1a\r\nB\r\n"), std::string("A\n\tA1\n\t\tA1a\nB"),
                                     std::string("A\r\tA1\r\t\tA1a\rB\r"), std::string("A\r\n\r\n\n A1\r\r\t A1a\n\nB\n")}) {
        Load(Input);
        EXPECT_EQ(Outline(Items()), "A(A1(A1a)) B ") << Input;
    }
    // Two spaces are two levels.
    Load("A\n\tB\n  C\n");
    EXPECT_EQ(Outline(Items()), "A(B(C)) ");
    // A dedent of several levels at once.
    Load("A\n\tB\n\t\tC\n\t\t\tD\nE\n\tF\n");
    EXPECT_EQ(Outline(Items()), "A(B(C(D))) E(F) ");
    // Anything but the whole signature is text, read from where the stream stood.
    Load("LXT\r\nQ\n");
    EXPECT_EQ(Outline(Items()), "LXT Q ");
    Load("\x0DLXT"); // a first line that is empty ends the text
    EXPECT_EQ(Items()->GetFirstNode(), nullptr);
    TStringStream Stream("skipA\n\tB\n");
    Stream.SetPosition(4);
    tree->LoadFromStream(&Stream);
    EXPECT_EQ(Outline(Items()), "A(B) ");
}

TEST_F(PersistenceFixture, ALevelJumpRaisesUnlessTheHandlerAllowsIt)
{
    // Blank lines are not counted: the jump is on the third line.
    const std::string Jump = "A\n\n\tB\n\n\t\t\tC\n\tD\n";
    try {
        Load(Jump);
        ADD_FAILURE() << "the level jump was accepted";
    } catch (const ElxTreeViewError& E) {
        EXPECT_EQ(std::string(E.what()), Format(sInvalidLevel, 3));
    }
    // The nodes read before the jump stay.
    EXPECT_EQ(Outline(Items()), "A(B) ");

    std::vector<int> Lines;
    tree->OnLevelError = [&](int Line, bool& RaiseException) {
        Lines.push_back(Line);
        RaiseException = false;
    };
    Load(Jump);
    EXPECT_EQ(Lines, std::vector<int>{3});
    // C becomes B's child; D, one level below A, continues A's children.
    EXPECT_EQ(Outline(Items()), "A(B(C) D) ");

    // A handler that leaves RaiseException set does not stop the error.
    tree->OnLevelError = [&](int, bool&) {};
    EXPECT_THROW(Load("A\n\t\tB\n"), ElxTreeViewError);
    tree->OnLevelError = nullptr;
}

TEST_F(PersistenceFixture, FilesKeepBothFormsAndAMissingFileIsNamed)
{
    Items()->AddChild(Items()->Add(nullptr, "A"), "B");
    const std::string Binary = TempPath("tree.lxt");
    const std::string Text = TempPath("tree.txt");
    tree->SaveToFile(Binary, true);
    tree->SaveToFile(Text, false);

    PersistenceFixture::Tree Other;
    Other.tree->LoadFromFile(Binary);
    EXPECT_EQ(Outline(Other.Items()), "A(B) ");
    EXPECT_EQ(Other.SaveBinary(), SaveBinary());
    Other.tree->LoadFromFile(Text);
    EXPECT_EQ(Outline(Other.Items()), "A(B) ");

    const std::string Missing = TempPath("no-such-tree.lxt");
    try {
        Other.tree->LoadFromFile(Missing);
        ADD_FAILURE() << "a missing file loaded";
    } catch (const EFOpenError& E) {
        EXPECT_NE(std::string(E.what()).find(Missing), std::string::npos) << E.what();
    }
    // The tree is untouched by a file that could not be opened.
    EXPECT_EQ(Outline(Other.Items()), "A(B) ");
}

// The designer stores the tree as "Data" (the binary form without its signature)
// unless it is empty with no check type, or equals the ancestor's.
TEST_F(PersistenceFixture, TheDataPropertyFollowsTheAncestorRule)
{
    Items()->AddChild(Items()->Add(nullptr, "A"), "B");
    TPropertyMap Stored = DesignerProperties();
    ASSERT_EQ(Stored.count("Data"), 1u);
    EXPECT_EQ(Stored["Data"], SaveBinary().substr(5));

    PersistenceFixture::Tree Same;
    Same.Load(SaveBinary());
    EXPECT_EQ(DesignerProperties(Same.Items()).count("Data"), 0u);

    PersistenceFixture::Tree Different;
    Different.Load("A\n\tC\n");
    EXPECT_EQ(DesignerProperties(Different.Items()).count("Data"), 1u);
    PersistenceFixture::Tree Longer;
    Longer.Load("A\n\tB\nC\n");
    EXPECT_EQ(DesignerProperties(Longer.Items()).count("Data"), 1u);

    // A check type is stored even when the nodes equal the ancestor's, and even with no nodes.
    PersistenceFixture::Tree Checked;
    std::string WithCheckType = SaveBinary();
    WithCheckType[5] = char(lxtCheckBox);
    Checked.Load(WithCheckType);
    EXPECT_EQ(DesignerProperties(Checked.Items(), Items()).count("Data"), 1u);
    PersistenceFixture::Tree EmptyChecked;
    EmptyChecked.Load(Signature + std::string("\x01\0\0\0\0", 5));
    EXPECT_EQ(DesignerProperties(EmptyChecked.Items()).count("Data"), 1u);

    // Reading the property rebuilds the tree.
    PersistenceFixture::Tree Read;
    TReader Reader(Stored);
    Reader.ReadProperties(Read.Items());
    EXPECT_EQ(Outline(Read.Items()), "A(B) ");
}

TEST_F(PersistenceFixture, AssignCopiesTheWholeTreeWithItsAttributes)
{
    Load(Signature + Bytes().U8(lxtCheckBox).I32(1).S + NodeBlock(RichRoot()));
    Items()->AddChild(Items()->GetFirstNode(), "child");
    PersistenceFixture::Tree Copy;
    Copy.Items()->Add(nullptr, "replaced");
    Copy.Items()->Assign(Items());
    EXPECT_EQ(Copy.SaveBinary(), SaveBinary());
    Items()->Assign(Items()); // a tree assigned to itself stays
    EXPECT_EQ(Outline(Items()), "Root(child) ");
    TFont NotATree;
    EXPECT_THROW(Items()->Assign(&NotATree), EConvertError);
}
