#include <stdexcept>
#include <string>
#include <vector>

#include "platform/framework/SysUtils.h"
#include "tests/model/ModelFixture.h"

namespace {

class CheckFixture : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        SetCheckSupport(true);
        tree->OnChecking = [this](TObject*, TlxTreeViewNode* Node, bool& Allow) {
            Log.push_back("?" + Node->Text());
            if (Node->Text() == RefuseFor)
                Allow = false;
            if (Node->Text() == ThrowInCheckingFor)
                throw std::runtime_error("checking " + Node->Text());
        };
        tree->OnChecked = [this](TObject*, TlxTreeViewNode* Node) {
            Log.push_back("!" + Node->Text());
            if (Node->Text() == ThrowInCheckedFor)
                throw std::runtime_error("checked " + Node->Text());
        };
    }

    void SetCheckSupport(bool On)
    {
        TTreeOptions Options = tree->Options();
        if (On)
            Options.Include(roCheckSupport);
        else
            Options.Exclude(roCheckSupport);
        tree->SetOptions(Options);
    }

    // The state image the native item shows.
    int NativeGlyph(TlxTreeViewNode* Node)
    {
        TVITEMA Item{};
        Item.mask = TVIF_STATE | TVIF_HANDLE;
        Item.hItem = Node->ItemId();
        Item.stateMask = TVIS_STATEIMAGEMASK;
        SendMessageA(tree->Handle(), TVM_GETITEMA, 0, LPARAM(&Item));
        return int((Item.state & TVIS_STATEIMAGEMASK) >> 12);
    }

    // "state/glyph" of each node, for compact comparisons.
    static std::string States(std::initializer_list<TlxTreeViewNode*> Nodes)
    {
        std::string Result;
        for (TlxTreeViewNode* Node : Nodes)
            Result += (Result.empty() ? "" : " ") + std::to_string(Node->CheckState()) + "/" +
                      std::to_string(Node->StateIndex());
        return Result;
    }
    std::string TakeLog()
    {
        std::string Result;
        for (const std::string& Entry : Log)
            Result += (Result.empty() ? "" : " ") + Entry;
        Log.clear();
        return Result;
    }

    std::vector<std::string> Log;
    std::string RefuseFor, ThrowInCheckingFor, ThrowInCheckedFor;
};

// P with children C1 (checked), C2 (disabled), C3.
class CheckTypeFixture : public CheckFixture {
protected:
    void SetUp() override
    {
        CheckFixture::SetUp();
        P = Items()->Add(nullptr, "P");
        C1 = Items()->AddChild(P, "C1");
        C2 = Items()->AddChild(P, "C2");
        C3 = Items()->AddChild(P, "C3");
        C2->SetEnabled(false);
        P->SetCheckType(lxtCheckBox);
        C1->SetCheckState(lxsChecked);
        Log.clear();
    }
    TlxTreeViewNode *P, *C1, *C2, *C3;
};

// Root type three-state: A (three-state) with A1 (check box, children A1a, A1b), A2, A3.
class ThreeStateFixture : public CheckFixture {
protected:
    void SetUp() override
    {
        CheckFixture::SetUp();
        A = Items()->Add(nullptr, "A");
        A1 = Items()->AddChild(A, "A1");
        A1a = Items()->AddChild(A1, "A1a");
        A1b = Items()->AddChild(A1, "A1b");
        A2 = Items()->AddChild(A, "A2");
        A3 = Items()->AddChild(A, "A3");
        Items()->SetCheckType(lxtCheckBoxGrayed);
        A->SetCheckType(lxtCheckBoxGrayed);
        A1->SetCheckType(lxtCheckBox);
    }
    TlxTreeViewNode *A, *A1, *A1a, *A1b, *A2, *A3;
};

} // namespace

TEST_F(CheckTypeFixture, ChildrenTakeTheGlyphsOfTheirParentsType)
{
    // Check box: the checked child shows a check, the disabled one a gray box.
    EXPECT_EQ(States({C1, C2, C3}), "1/2 0/3 0/1");
    EXPECT_EQ(NativeGlyph(C1), 2);

    // Three-state: every child shows an empty box whatever its state; P is reset.
    P->SetCheckType(lxtCheckBoxGrayed);
    EXPECT_EQ(States({C1, C2, C3}), "1/1 0/3 0/1");

    // Radio: the first enabled child is set, the others cleared.
    C1->SetEnabled(false);
    P->SetCheckType(lxtRadioButton);
    EXPECT_EQ(States({C1, C2, C3}), "0/7 0/7 1/6");
    C3->SetEnabled(false);
    P->SetCheckType(lxtNone);
    EXPECT_EQ(States({C1, C2, C3}), "0/0 0/0 0/0");
    P->SetCheckType(lxtRadioButton); // nobody enabled: nobody set
    EXPECT_EQ(States({C1, C2, C3}), "0/7 0/7 0/7");
    C1->SetEnabled(true);
    C3->SetEnabled(true);

    // Value buttons: the matching state, the kind's glyph, the padlock when disabled.
    const TCheckType Buttons[] = {lxtTextButton, lxtNumberButton, lxtDateButton, lxtTimeButton};
    for (int I = 0; I < 4; ++I) {
        P->SetCheckType(Buttons[I]);
        const std::string Enabled = std::to_string(lxsTextButton + I) + "/" + std::to_string(9 + I);
        const std::string Locked = std::to_string(lxsTextButton + I) + "/13";
        EXPECT_EQ(States({C1, C2, C3}), Enabled + " " + Locked + " " + Enabled);
    }
    EXPECT_EQ(NativeGlyph(C2), 13);

    // Setting the same type again changes nothing; grandchildren are not visited; no
    // event fires.
    TlxTreeViewNode* G = Items()->AddChild(C1, "G");
    C1->SetCheckType(lxtCheckBox);
    G->SetCheckState(lxsChecked);
    Log.clear();
    C1->SetStateIndex(-1);
    P->SetCheckType(lxtTimeButton);
    EXPECT_EQ(C1->StateIndex(), -1);
    P->SetCheckType(lxtNone);
    EXPECT_EQ(States({C1, G}), "0/0 1/2");
    EXPECT_EQ(TakeLog(), "");
    EXPECT_EQ(P->CheckType(), lxtNone);
}

TEST_F(CheckTypeFixture, CollectionTypeGovernsTopLevelNodes)
{
    TlxTreeViewNode* Q = Items()->Add(nullptr, "Q");
    EXPECT_EQ(States({P, Q}), "0/0 0/0");
    Items()->SetCheckType(lxtRadioButton);
    EXPECT_EQ(Items()->CheckType(), lxtRadioButton);
    EXPECT_EQ(Items()->Root()->CheckType(), lxtRadioButton);
    EXPECT_EQ(States({P, Q}), "1/6 0/5");
    Q->DoCheckClick();
    EXPECT_EQ(States({P, Q}), "0/5 1/6");
    // A node added later gets the type's unset glyph and keeps its unchecked state.
    TlxTreeViewNode* R = Items()->Add(nullptr, "R");
    EXPECT_EQ(States({R}), "0/5");
}

TEST_F(CheckTypeFixture, WithoutCheckSupportStatesChangeButNoGlyphIsRecorded)
{
    SetCheckSupport(false);
    TlxTreeViewNode* D = Items()->AddChild(P, "D");
    EXPECT_EQ(D->StateIndex(), -1);
    D->SetCheckState(lxsChecked);
    D->SetEnabled(false);
    EXPECT_EQ(States({D}), "1/-1");
    P->SetCheckType(lxtRadioButton);
    EXPECT_EQ(D->CheckState(), lxsUnchecked);
    EXPECT_EQ(C1->CheckState(), lxsChecked);
    EXPECT_EQ(D->StateIndex(), -1);
    EXPECT_EQ(NativeGlyph(D), 0);
}

TEST_F(CheckTypeFixture, CheckBoxesToggleAndFireTheirEvents)
{
    C3->DoCheckClick();
    EXPECT_EQ(States({C3}), "1/2");
    EXPECT_EQ(TakeLog(), "?C3 !C3");
    C3->DoCheckClick();
    EXPECT_EQ(States({C3}), "0/1");
    // Any checked value checks a plain box; every other value clears it.
    C3->SetCheckState(lxsCheckedGrayed);
    EXPECT_EQ(States({C3}), "1/2");
    C3->SetCheckState(lxsGrayed);
    EXPECT_EQ(States({C3}), "0/1");

    // A plain box does not reach its children.
    TlxTreeViewNode* G = Items()->AddChild(C3, "G");
    C3->SetCheckType(lxtCheckBox);
    Log.clear();
    C3->SetCheckState(lxsChecked);
    EXPECT_EQ(States({G}), "0/1");
    EXPECT_EQ(TakeLog(), "?C3 !C3");

    // Under no check type a state change does nothing, yet the events fire.
    P->SetCheckType(lxtNone);
    Log.clear();
    C1->SetCheckState(lxsChecked);
    EXPECT_EQ(States({C1}), "0/0");
    EXPECT_EQ(TakeLog(), "?C1 !C1");
    C1->DoCheckClick();
    EXPECT_EQ(TakeLog(), "");
}

TEST_F(CheckTypeFixture, DisabledNodesRefuseAndShowGrayGlyphs)
{
    C2->SetCheckState(lxsChecked);
    C2->DoCheckClick();
    EXPECT_EQ(States({C2}), "0/3");
    EXPECT_EQ(TakeLog(), "");

    C1->SetEnabled(false);
    EXPECT_EQ(States({C1}), "1/4");
    C1->SetEnabled(true);
    EXPECT_EQ(States({C1}), "1/2");

    // Under a three-state parent the gray check also means "partly checked": it stays.
    P->SetCheckType(lxtCheckBoxGrayed);
    C1->SetCheckState(lxsChecked);
    Log.clear();
    C1->SetEnabled(false);
    EXPECT_EQ(States({C1}), "1/4");
    C1->SetEnabled(true);
    EXPECT_EQ(States({C1}), "1/4");

    P->SetCheckType(lxtRadioButton);
    C1->SetEnabled(false);
    EXPECT_EQ(States({C1}), "1/8");
    C1->SetEnabled(true);
    EXPECT_EQ(States({C1}), "1/6");

    P->SetCheckType(lxtDateButton);
    C1->SetEnabled(false);
    EXPECT_EQ(C1->StateIndex(), 13);
    C1->SetEnabled(true);
    EXPECT_EQ(C1->StateIndex(), 11);
    // A glyph the rules do not know is left alone.
    C1->SetStateIndex(0);
    C1->SetEnabled(false);
    EXPECT_EQ(C1->StateIndex(), 0);
    EXPECT_EQ(TakeLog(), "");

    // Under no check type the glyph is not translated.
    P->SetCheckType(lxtNone);
    C3->SetStateIndex(2);
    C3->SetEnabled(false);
    EXPECT_EQ(C3->StateIndex(), 2);
    EXPECT_FALSE(C3->Enabled());
}

TEST_F(CheckTypeFixture, RadioGroupsKeepOneButtonSet)
{
    P->SetCheckType(lxtRadioButton);
    EXPECT_EQ(States({C1, C2, C3}), "1/6 0/7 0/5");
    Log.clear();

    C3->SetCheckState(lxsChecked);
    EXPECT_EQ(States({C1, C2, C3}), "0/5 0/7 1/6");
    EXPECT_EQ(TakeLog(), "?C3 !C3"); // siblings get no events

    // Clearing a set button does nothing, but the events still fire.
    C3->SetCheckState(lxsUnchecked);
    EXPECT_EQ(States({C3}), "1/6");
    EXPECT_EQ(TakeLog(), "?C3 !C3");

    // A disabled sibling is cleared too.
    C2->SetEnabled(true);
    C2->SetCheckState(lxsChecked);
    C2->SetEnabled(false);
    C1->DoCheckClick();
    EXPECT_EQ(States({C1, C2, C3}), "1/6 0/7 0/5");
}

TEST_F(CheckTypeFixture, RefusedChecksChangeNothing)
{
    P->SetCheckType(lxtRadioButton);
    Log.clear();
    RefuseFor = "C3";
    C3->DoCheckClick();
    EXPECT_EQ(States({C1, C2, C3}), "1/6 0/7 0/5");
    EXPECT_EQ(TakeLog(), "?C3");

    // Refusing the node itself skips its children too.
    Items()->SetCheckType(lxtCheckBoxGrayed);
    P->SetCheckType(lxtCheckBox);
    RefuseFor = "P";
    P->SetCheckState(lxsChecked);
    EXPECT_EQ(States({P, C1, C3}), "0/1 1/2 0/1");
    EXPECT_EQ(TakeLog(), "?P");

    // A handler that raises while asked counts as a refusal, and the caller sees it.
    RefuseFor.clear();
    ThrowInCheckingFor = "P";
    EXPECT_THROW(P->SetCheckState(lxsChecked), std::runtime_error);
    EXPECT_EQ(States({P, C1, C3}), "0/1 1/2 0/1");
    EXPECT_EQ(TakeLog(), "?P");
}

TEST_F(ThreeStateFixture, ChecksSpreadDownAndUp)
{
    // Checking A checks every descendant that is a box, each with its own events.
    A->SetCheckState(lxsChecked);
    EXPECT_EQ(States({A, A1, A1a, A1b, A2, A3}), "1/2 1/2 1/2 1/2 1/2 1/2");
    EXPECT_EQ(TakeLog(), "?A ?A1 ?A1a !A1a ?A1b !A1b !A1 ?A2 !A2 ?A3 !A3 !A");

    // Parents follow their children: partly checked, then unchecked.
    A2->SetCheckState(lxsUnchecked);
    EXPECT_EQ(States({A}), "3/4");
    A1->SetCheckState(lxsUnchecked);
    EXPECT_EQ(States({A1a, A1b, A}), "0/1 0/1 3/4");
    A3->SetCheckState(lxsUnchecked);
    EXPECT_EQ(States({A}), "0/1");

    // A change deep down climbs while each ancestor is under a three-state parent.
    A1a->SetCheckState(lxsChecked);
    EXPECT_EQ(States({A1a, A1, A}), "1/2 3/4 3/4");
    A1b->SetCheckState(lxsChecked);
    EXPECT_EQ(States({A1, A}), "1/2 3/4");
    Log.clear();

    // The top level has no parent to update.
    TlxTreeViewNode* B = Items()->Add(nullptr, "B");
    B->SetCheckState(lxsChecked);
    EXPECT_EQ(States({B}), "1/2");
    EXPECT_EQ(TakeLog(), "?B !B");
}

TEST_F(ThreeStateFixture, BoxFollowsChildrenWhereverTheyChange)
{
    // Five children checked from the last to the first, then cleared from the middle
    // outwards: the box sees every child, not only the changed one's neighbours.
    std::vector<TlxTreeViewNode*> Kids;
    for (int I = 0; I < 5; ++I)
        Kids.push_back(Items()->AddChild(A3, "K" + std::to_string(I)));
    A3->SetCheckType(lxtCheckBox);
    for (int I = 4; I >= 0; --I) {
        Kids[I]->SetCheckState(lxsChecked);
        EXPECT_EQ(A3->CheckState(), I == 0 ? lxsChecked : lxsCheckedGrayed) << I;
    }
    for (int I : {2, 1, 3, 0}) {
        Kids[I]->SetCheckState(lxsUnchecked);
        EXPECT_EQ(States({A3}), "3/4") << I;
    }
    Kids[4]->SetCheckState(lxsUnchecked);
    EXPECT_EQ(States({A3}), "0/1");
}

TEST_F(ThreeStateFixture, ClicksCycleAndOnlyDefiniteStatesSpread)
{
    A->DoCheckClick();
    EXPECT_EQ(States({A, A1, A2}), "3/4 0/1 0/1"); // partly checked reaches nobody
    A->DoCheckClick();
    EXPECT_EQ(States({A, A1, A2}), "1/2 1/2 1/2");
    A->DoCheckClick();
    EXPECT_EQ(States({A, A1, A2}), "0/1 0/1 0/1");

    // The grayed state is stored with the glyph kept, and a click on it does nothing.
    A2->SetCheckState(lxsCheckedGrayed);
    A2->SetCheckState(lxsGrayed);
    EXPECT_EQ(States({A2}), "2/4");
    EXPECT_EQ(States({A}), "0/1"); // grayed counts as not checked
    Log.clear();
    A2->DoCheckClick();
    EXPECT_EQ(TakeLog(), "");
}

TEST_F(ThreeStateFixture, ChildrenThatRefuseKeepTheirState)
{
    A2->SetEnabled(false);
    RefuseFor = "A1";
    A->SetCheckState(lxsChecked);
    // A1 refused, so its children were not visited; A ends partly checked.
    EXPECT_EQ(States({A1, A1a, A2, A3, A}), "0/1 0/1 0/3 1/2 3/4");
    EXPECT_EQ(TakeLog(), "?A ?A1 ?A3 !A3 !A");
}

TEST_F(ThreeStateFixture, RaisingHandlersLeaveTheBoxesConsistent)
{
    // A handler raising in OnChecked: that child's change stands, the rest of the
    // operation runs, and the first exception reaches the caller.
    ThrowInCheckedFor = "A1a";
    EXPECT_THROW(A->SetCheckState(lxsChecked), std::runtime_error);
    EXPECT_EQ(States({A, A1, A1a, A1b, A2, A3}), "1/2 1/2 1/2 1/2 1/2 1/2");
    EXPECT_EQ(TakeLog(), "?A ?A1 ?A1a !A1a ?A1b !A1b !A1 ?A2 !A2 ?A3 !A3 !A");

    // Raising in OnChecking counts as refusing that child; its parent follows the
    // children that did change.
    ThrowInCheckedFor.clear();
    ThrowInCheckingFor = "A2";
    try {
        A->SetCheckState(lxsUnchecked);
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& E) {
        EXPECT_EQ(std::string(E.what()), "checking A2");
    }
    EXPECT_EQ(States({A1, A1a, A2, A3, A}), "0/1 0/1 1/2 0/1 3/4");

    // The node's own OnChecked raising: its change and the ancestors' stand.
    ThrowInCheckingFor.clear();
    ThrowInCheckedFor = "A2";
    EXPECT_THROW(A2->SetCheckState(lxsUnchecked), std::runtime_error);
    EXPECT_EQ(States({A2, A}), "0/1 0/1");
}

TEST_F(CheckTypeFixture, ValueButtonsSpreadToTheirChildren)
{
    P->SetCheckType(lxtNumberButton);
    TlxTreeViewNode* G1 = Items()->AddChild(C1, "G1");
    TlxTreeViewNode* G2 = Items()->AddChild(C1, "G2");
    C1->SetCheckType(lxtCheckBox);
    G1->SetCheckState(lxsChecked);
    Log.clear();

    // Only the matching button state counts.
    C1->SetCheckState(lxsTextButton);
    EXPECT_EQ(States({C1, G1}), "5/10 1/2");
    C1->SetStateIndex(13); // pressed
    C1->DoCheckClick();
    EXPECT_EQ(States({C1}), "5/10");
    // The children act under C1's own type: a box is cleared by a button state.
    EXPECT_EQ(States({G1, G2}), "0/1 0/1");
    EXPECT_EQ(TakeLog(), "?C1 !C1 ?C1 ?G1 !G1 ?G2 !G2 !C1");
}

TEST_F(CheckTypeFixture, VerifyNodeTextNormalisesByGlyph)
{
    P->SetCheckType(lxtNumberButton);
    C1->SetText(FloatToStr(2.5) + "0");
    C1->VerifyNodeText();
    EXPECT_EQ(C1->Text(), FloatToStr(2.5));
    C1->SetText("twelve");
    C1->VerifyNodeText();
    EXPECT_EQ(C1->Text(), "twelve???");
    C1->SetText("");
    C1->VerifyNodeText();
    EXPECT_EQ(C1->Text(), "");

    P->SetCheckType(lxtDateButton);
    C1->SetText("2024-03-07");
    C1->VerifyNodeText();
    EXPECT_EQ(C1->Text(), DateToStr(EncodeDate(2024, 3, 7)));
    C1->SetText("2024-02-30");
    C1->VerifyNodeText();
    EXPECT_EQ(C1->Text(), "2024-02-30???");

    P->SetCheckType(lxtTimeButton);
    C1->SetText("9:05");
    C1->VerifyNodeText();
    EXPECT_EQ(C1->Text(), TimeToStr(EncodeTime(9, 5, 0, 0)));

    // The glyph decides: a text button keeps its text.
    P->SetCheckType(lxtTextButton);
    C1->SetText("2.50");
    C1->VerifyNodeText();
    EXPECT_EQ(C1->Text(), "2.50");
}

TEST_F(CheckTypeFixture, AssignCopiesCheckDataThroughTheSetters)
{
    TlxTreeViewNode* Q = Items()->Add(nullptr, "Q");
    TlxTreeViewNode* Q1 = Items()->AddChild(Q, "Q1");
    TlxTreeViewNode* Q2 = Items()->AddChild(Q, "Q2");
    TlxTreeViewNode* Source = Items()->AddChild(P, "S");
    Source->SetCheckType(lxtRadioButton);
    Source->SetCheckState(lxsChecked);
    Source->SetEnabled(false);
    Q->SetCheckType(lxtCheckBox);
    Items()->SetCheckType(lxtCheckBox);
    Log.clear();

    Q1->Assign(Source); // Q1 takes the text "S" first
    // The type reaches Q1's children (none); the state goes through the checks
    // under Q's check-box type, then the node is disabled and grays its glyph.
    EXPECT_EQ(Q1->CheckType(), lxtRadioButton);
    EXPECT_EQ(States({Q1}), "1/4");
    EXPECT_FALSE(Q1->Enabled());
    EXPECT_EQ(TakeLog(), "?S !S");
    EXPECT_EQ(States({Q2}), "0/1");
}
