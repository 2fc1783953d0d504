#include <chrono>
#include <random>

#include "tests/model/PersistenceSupport.h"

namespace {

// A tree that uses every part of a block: long and empty texts, strings after the
// record, an own font, three levels.
void BuildSample(TlxTreeViewNodes* Items)
{
    TlxTreeViewNode* A = Items->Add(nullptr, "Alpha");
    TlxTreeViewNode* A1 = Items->AddChild(A, std::string(270, 'a'));
    Items->AddChild(A1, "");
    Items->AddChild(A, "A2")->SetVarName("var");
    TlxTreeViewNode* B = Items->Add(nullptr, "Beta");
    B->SetVarValue("value");
    TFont Font;
    Font.SetName("Mono");
    B->SetFont(&Font);
    Items->AddChild(B, "B1")->SetColor(0x123456);
    A->Expand(false);
}

// What a test asks of a tree after a failed load: navigation, the index, the native
// item count and saving again all agree.
void ExpectConsistent(TCustomlxTreeView* Tree)
{
    TlxTreeViewNodes* Items = Tree->Items();
    int Walked = 0;
    for (TlxTreeViewNode* Node = Items->GetFirstNode(); Node; Node = Node->GetNext()) {
        ASSERT_EQ(Node->AbsoluteIndex(), Walked);
        ASSERT_EQ(Items->Item(Walked), Node);
        if (Node->Parent()) {
            ASSERT_EQ(Node->Parent()->Item(Node->Index()), Node);
        }
        ++Walked;
    }
    ASSERT_EQ(Items->Count(), Walked);
    PersistenceFixture::Tree Copy;
    Copy.Load(SaveTree(Tree, true));
    ASSERT_EQ(Outline(Copy.Items()), Outline(Items));
}

} // namespace

// A binary stream cut anywhere raises the stream's read error and leaves the nodes
// read so far in a sound tree.
TEST_F(PersistenceFixture, AStreamCutAtAnyLengthRaisesAReadError)
{
    BuildSample(Items());
    const std::string Whole = SaveBinary();
    PersistenceFixture::Tree Target;
    for (std::size_t Length = 5; Length < Whole.size(); ++Length) {
        EXPECT_THROW(Target.Load(Whole.substr(0, Length)), EReadError) << "cut at " << Length;
        ExpectConsistent(Target.tree);
        if (HasFatalFailure())
            return;
    }
    Target.Load(Whole);
    EXPECT_EQ(Target.SaveBinary(), Whole);
}

// Sizes and counts that no writer produces fail fast, without huge allocations.
TEST_F(PersistenceFixture, AbsurdSizesAndCountsFailQuickly)
{
    const std::string Head = std::string("\x0DLXT\x0D", 5);
    const std::string Block = NodeBlock(PlainRecord("N", 0));
    auto WithField = [&](std::size_t Offset, std::int32_t Value) {
        std::string S = Head + Bytes().U8(0).I32(1).S + Block;
        const std::string Field = Bytes().I32(Value).S;
        S.replace(10 + Offset, 4, Field);
        return S;
    };
    const auto Start = std::chrono::steady_clock::now();
    for (std::int32_t Size : {-1, 0, 99, 0x164, 0x7FFFFFFF, std::int32_t(0x80000000)})
        EXPECT_THROW(Load(WithField(0, Size)), EReadError) << Size;
    // VarNameLen and VarValueLen beyond the end of the stream.
    EXPECT_THROW(Load(WithField(4 + 0x5B, 0x7FFFFFFF)), EReadError);
    EXPECT_THROW(Load(WithField(4 + 0x5F, 0x40000000)), EReadError);
    // A child count far beyond what the stream holds.
    EXPECT_THROW(Load(WithField(4 + 0x1D, 0x7FFFFFFF)), EReadError);
    EXPECT_EQ(Outline(Items()), "N() ");
    // A negative count means no children; a huge top-level count runs out of stream.
    Load(WithField(4 + 0x1D, -5));
    EXPECT_EQ(Outline(Items()), "N ");
    EXPECT_THROW(Load(Head + Bytes().U8(0).I32(0x7FFFFFFF).S + Block), EReadError);
    // Enumerations out of range.
    EXPECT_THROW(Load(Head + Bytes().U8(8).I32(0).S), EReadError);
    std::string BadState = WithField(0, 100 + 1);
    BadState[10 + 4 + 0x14] = char(200);
    EXPECT_THROW(Load(BadState), EReadError);
    // Extreme image indices load as they are.
    Load(WithField(4 + 0x0C, 0x7FFFFFFF));
    EXPECT_EQ(Items()->GetFirstNode()->OverlayIndex(), 0x7FFFFFFF);
    EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(30));
}

// Randomly damaged streams either load or raise one of the documented errors; the
// tree stays sound in every case.
TEST_F(PersistenceFixture, DamagedStreamsLoadOrRaiseDocumentedErrors)
{
    BuildSample(Items());
    const std::string Valid = SaveBinary();
    std::mt19937 Random(20261205);
    PersistenceFixture::Tree Target;
    int Loaded = 0, Refused = 0;
    for (int Round = 0; Round < 10000; ++Round) {
        std::string S = Valid;
        const int Damage = 1 + int(Random() % 4);
        for (int D = 0; D < Damage; ++D) {
            const std::size_t At = 5 + Random() % (S.size() - 5);
            switch (Random() % 4) {
            case 0: S[At] = char(Random()); break;                                    // one byte
            case 1: S[At] ^= char(1u << (Random() % 8)); break;                        // one bit
            case 2: S.replace(At, std::min<std::size_t>(4, S.size() - At), Bytes().I32(std::int32_t(Random())).S); break;
            case 3: S.erase(At, 1 + Random() % 8); break;                              // lost bytes
            }
            if (S.size() <= 5)
                S = Valid;
        }
        if (Random() % 16 == 0)
            S[Random() % 5] ^= 0x20; // the signature itself: read as text
        try {
            Target.Load(S);
            ++Loaded;
        } catch (const EReadError&) {
            ++Refused;
        } catch (const ElxTreeViewError&) {
            ++Refused;
        }
        if (Round % 250 == 0) {
            ExpectConsistent(Target.tree);
            if (HasFatalFailure())
                return;
        }
    }
    EXPECT_GT(Loaded, 0);
    EXPECT_GT(Refused, 0);
    ExpectConsistent(Target.tree);
}

// Deep trees go through both forms.
TEST_F(PersistenceFixture, ADeepChainSurvivesBothForms)
{
    TlxTreeViewNode* Node = nullptr;
    for (int Level = 0; Level < 500; ++Level)
        Node = Items()->AddChild(Node, "n");
    PersistenceFixture::Tree Binary, Text;
    Binary.Load(SaveBinary());
    Text.Load(SaveText());
    for (PersistenceFixture::Tree* T : {&Binary, &Text}) {
        TlxTreeViewNode* Last = T->Items()->Item(499);
        EXPECT_EQ(Last->Level(), 499);
        EXPECT_EQ(T->Items()->Count(), 500);
    }
}
