// Storing forms that hold tree views, and reading them back.
#include <QApplication>
#include <gtest/gtest.h>
#include <map>
#include <memory>

#include "control/TreeViewPublished.h"
#include "control/lxTreeViewControl.h"
#include "platform/framework/Forms.h"
#include "platform/framework/PublishedControls.h"
#include "platform/framework/Streaming.h"
#include "support/TreeEvents.h"

namespace {

// The tree as one line per node: level tabs, text and the low bits of Data.
std::string Outline(TlxTreeViewNodes* items)
{
    std::string out;
    for (TlxTreeViewNode* n = items->GetFirstNode(); n; n = n->GetNext())
        out += std::string(size_t(n->Level()), '\t') + n->Text() + "=" +
               std::to_string(reinterpret_cast<std::uintptr_t>(n->Data()) & 0xFFFFFFFF) + "\n";
    return out;
}

void FillTree(TlxTreeViewNodes* items)
{
    TlxTreeViewNode* docs = items->Add(nullptr, "Documents");
    docs->SetData(reinterpret_cast<void*>(std::uintptr_t(7)));
    items->AddChild(docs, "Letters");
    items->AddChild(items->AddChild(docs, "Invoices"), "2026");
    items->Add(nullptr, "Pictures");
}

// A small control that reports what the reader does to it.
class TProbeControl : public TWinControl {
public:
    using TWinControl::TWinControl;
    int Value() const { return FValue; }
    void SetValue(int v)
    {
        FValue = v;
        LoadingWhenSet = ComponentState().Contains(csLoading);
    }
    void Loaded() override
    {
        TWinControl::Loaded();
        ++LoadedCalls;
    }
    bool LoadingWhenSet = false;
    int LoadedCalls = 0;

private:
    int FValue = 0;
};

void PublishProbe()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    TClassPublisher<TProbeControl> p("TProbeControl", "",
                                     [](TComponent* Owner) -> TComponent* { return new TProbeControl(Owner); });
    PublishWinControlProperties(p);
    p.Integer("Value", &TProbeControl::Value, &TProbeControl::SetValue, 0);
}

class FormPersistenceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PublishlxTreeView();
        PublishProbe();
        form = NewForm("MainForm");
    }
    void TearDown() override
    {
        for (TForm* f : {form.get(), copy.get(), ancestor.get()})
            if (f)
                for (int i = 0; i < f->ComponentCount(); ++i)
                    if (auto* t = dynamic_cast<TCustomlxTreeView*>(f->Components(i)))
                        ClearTreeEvents(t);
        copy.reset();
        ancestor.reset();
        form.reset();
    }

    static std::unique_ptr<TForm> NewForm(const std::string& name)
    {
        auto f = std::make_unique<TForm>(nullptr);
        f->SetName(name);
        return f;
    }
    static TlxTreeView* AddTree(TForm* f, const std::string& name)
    {
        auto* t = new TlxTreeView(f);
        t->SetName(name);
        t->SetParent(f);
        return t;
    }
    // Writes the form and reads the stream into a fresh form.
    TForm* RoundTrip(TForm* ancestorForm = nullptr)
    {
        TMemoryStream stream;
        WriteForm(stream, form.get(), ancestorForm);
        stream.SetPosition(0);
        copy = NewForm("");
        ReadForm(stream, copy.get());
        EXPECT_EQ(stream.Position(), stream.Size());
        return copy.get();
    }
    TlxTreeView* TreeIn(TForm* f, const std::string& name)
    {
        return dynamic_cast<TlxTreeView*>(f->FindComponent(name));
    }
    static TPropertyMap PropertiesOf(const TFormImage& image, const std::string& name)
    {
        const TComponentImage* c = image.Find(name);
        return c ? c->Properties : TPropertyMap();
    }

    std::unique_ptr<TForm> form, copy, ancestor;
};

TEST_F(FormPersistenceTest, TwoTreesComeBackWithTheirPropertiesParentsAndNodes)
{
    form->SetCaption("Archive");
    form->SetBounds(10, 20, 500, 300);
    TlxTreeView* left = AddTree(form.get(), "LeftTree");
    left->SetBounds(4, 5, 200, 250);
    left->SetBorderStyle(bsNone);
    left->SetChangeDelay(250);
    left->SetSelectedColor(clRed);
    left->SetOptions(TTreeOptions::FromBits(DefaultTreeOptions) + TTreeOptions{roMultiSelect, roToolTips} -
                     TTreeOptions{roShowLines});
    left->SetMarkColor(clGreen); // after the options: a new window starts with the default mark colour
    left->SetIndent(31);
    left->SetItemHeight(24);
    left->SetScrollDelayTime(650);
    left->Font()->SetName("DejaVu Serif");
    left->Font()->SetHeight(-15);
    left->Font()->SetStyle({fsBold, fsItalic});
    left->Font()->SetColor(clNavy);
    FillTree(left->Items());

    // The second tree sits on a probe control, its parent, and keeps other settings.
    auto* panel = new TProbeControl(form.get());
    panel->SetName("Panel");
    panel->SetParent(form.get());
    panel->SetValue(5);
    TlxTreeView* right = AddTree(form.get(), "RightTree");
    right->SetParent(panel);
    right->SetAlign(alClient);
    right->SetDragMode(dmAutomatic);
    right->SetSortType(stText);
    right->SetUnfocusedSelectedColor(clYellow);
    right->SetDropSelectedColor(clAqua);
    right->SetColor(clCream);
    right->SetTabStop(false);
    right->Items()->SetCheckType(lxtCheckBox);
    right->Items()->Add(nullptr, "Alpha");
    right->Items()->Add(nullptr, "Beta");

    TForm* back = RoundTrip();
    EXPECT_EQ(back->Name(), "MainForm");
    EXPECT_EQ(back->Caption(), "Archive");
    EXPECT_EQ(back->Width(), 500);
    ASSERT_EQ(back->ComponentCount(), 3);

    TlxTreeView* left2 = TreeIn(back, "LeftTree");
    ASSERT_NE(left2, nullptr);
    EXPECT_EQ(left2->Parent(), back);
    EXPECT_EQ(left2->Left(), 4);
    EXPECT_EQ(left2->Height(), 250);
    EXPECT_EQ(left2->BorderStyle(), bsNone);
    EXPECT_EQ(left2->ChangeDelay(), 250);
    EXPECT_EQ(left2->SelectedColor(), clRed);
    EXPECT_EQ(left2->MarkColor(), clGreen);
    EXPECT_EQ(left2->Options(), left->Options());
    EXPECT_EQ(left2->Indent(), 31);
    EXPECT_EQ(left2->ItemHeight(), 24);
    EXPECT_EQ(left2->ScrollDelayTime(), 650);
    EXPECT_EQ(left2->Font()->Name(), "DejaVu Serif");
    EXPECT_EQ(left2->Font()->Height(), -15);
    EXPECT_EQ(left2->Font()->Style(), (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(left2->Font()->Color(), clNavy);
    EXPECT_FALSE(left2->ParentFont());
    EXPECT_EQ(Outline(left2->Items()), Outline(left->Items()));

    TlxTreeView* right2 = TreeIn(back, "RightTree");
    ASSERT_NE(right2, nullptr);
    EXPECT_EQ(right2->Parent(), back->FindComponent("Panel"));
    EXPECT_EQ(static_cast<TProbeControl*>(back->FindComponent("Panel"))->Value(), 5);
    EXPECT_EQ(right2->Align(), alClient);
    EXPECT_EQ(right2->DragMode(), dmAutomatic);
    EXPECT_EQ(right2->SortType(), stText);
    EXPECT_EQ(right2->UnfocusedSelectedColor(), clYellow);
    EXPECT_EQ(right2->DropSelectedColor(), clAqua);
    EXPECT_EQ(right2->Color(), clCream);
    EXPECT_FALSE(right2->TabStop());
    EXPECT_TRUE(right2->ParentFont());
    EXPECT_EQ(right2->Items()->CheckType(), lxtCheckBox);
    EXPECT_EQ(Outline(right2->Items()), Outline(right->Items()));

    const std::string listing = FormImageToText(MakeFormImage(back));
    EXPECT_NE(listing.find("object RightTree: TlxTreeView (parent: Panel)"), std::string::npos) << listing;
}

TEST_F(FormPersistenceTest, OnlyValuesThatDifferFromTheDefaultsAreStored)
{
    // The framework's properties are published for the tree with the framework's defaults.
    std::map<std::string, const TPublishedProperty*> published;
    for (const TPublishedProperty* p : PublishedProperties(*FindPublishedClass("TlxTreeView")))
        published[p->Name] = p;
    const std::map<std::string, std::int64_t> frameworkDefaults{
        {"Anchors", std::int64_t(DefaultAnchors.Bits())}, {"BiDiMode", bdLeftToRight}, {"BorderWidth", 0},
        {"Ctl3D", 1}, {"ParentBiDiMode", 1}, {"ParentColor", 0}, {"ParentCtl3D", 1}, {"ParentFont", 1},
        {"ParentShowHint", 1}, {"ShowHint", 0}};
    for (const auto& [name, value] : frameworkDefaults) {
        ASSERT_EQ(published.count(name), 1u) << name;
        EXPECT_EQ(published[name]->Default, value) << name;
    }
    ASSERT_EQ(published.count("Constraints"), 1u);
    EXPECT_EQ(published["Constraints"]->Kind, pkObject);

    TlxTreeView* tree = AddTree(form.get(), "Tree");
    tree->HandleNeeded(); // the window-held settings then exist, at their native values
    TPropertyMap stored = PropertiesOf(MakeFormImage(form.get()), "Tree");
    // Bounds are always stored; an empty tree without a check type stores no "Data".
    EXPECT_EQ(stored.size(), 4u);
    for (const char* name : {"Left", "Top", "Width", "Height"})
        EXPECT_EQ(stored.count(name), 1u) << name;
    EXPECT_TRUE(MakeFormImage(form.get()).Root.Properties.empty());

    tree->SetIndent(tree->Indent() + 7);
    tree->Items()->SetCheckType(lxtRadioButton);
    tree->SetParentColor(true);
    tree->SetOptions(TTreeOptions::FromBits(DefaultTreeOptions) + TTreeOptions{roCheckSupport});
    tree->SetBorderWidth(2);
    tree->Constraints()->SetMinHeight(30);
    tree->SetParentShowHint(false);
    stored = PropertiesOf(MakeFormImage(form.get()), "Tree");
    for (const char* name :
         {"Indent", "Items.Data", "ParentColor", "Options", "BorderWidth", "Constraints.MinHeight", "ParentShowHint"})
        EXPECT_EQ(stored.count(name), 1u) << name;
    EXPECT_EQ(stored.count("Color"), 0u);
    EXPECT_EQ(stored.count("ItemHeight"), 0u);
    EXPECT_EQ(stored.count("Font.Name"), 0u);
    EXPECT_EQ(stored.count("ShowHint"), 0u) << "the parent's value, false, is the default";
    EXPECT_EQ(stored.size(), 11u);

    // A tree without a window has nothing of its own to store but its bounds.
    auto* loose = new TlxTreeView(form.get());
    loose->SetName("Loose");
    EXPECT_EQ(PropertiesOf(MakeFormImage(form.get()), "Loose").size(), 4u);
}

TEST_F(FormPersistenceTest, AnAncestorWithTheSameNodesLeavesTheDataOut)
{
    ancestor = NewForm("MainForm");
    TlxTreeView* base = AddTree(ancestor.get(), "Tree");
    FillTree(base->Items());
    TlxTreeView* tree = AddTree(form.get(), "Tree");
    FillTree(tree->Items());
    tree->SetChangeDelay(40);

    TPropertyMap stored = PropertiesOf(MakeFormImage(form.get(), ancestor.get()), "Tree");
    EXPECT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored.count("ChangeDelay"), 1u);

    // A different node, or a check type, brings the data back.
    tree->Items()->GetFirstNode()->SetData(reinterpret_cast<void*>(std::uintptr_t(8)));
    EXPECT_EQ(PropertiesOf(MakeFormImage(form.get(), ancestor.get()), "Tree").count("Items.Data"), 1u);
    tree->Items()->GetFirstNode()->SetData(reinterpret_cast<void*>(std::uintptr_t(7)));
    tree->Items()->SetCheckType(lxtCheckBox);
    EXPECT_EQ(PropertiesOf(MakeFormImage(form.get(), ancestor.get()), "Tree").count("Items.Data"), 1u);

    // Read over a copy of the ancestor, the form gets the ancestor's nodes plus its own settings.
    tree->Items()->SetCheckType(lxtNone);
    TMemoryStream stream;
    WriteForm(stream, form.get(), ancestor.get());
    stream.SetPosition(0);
    copy = NewForm("MainForm");
    FillTree(AddTree(copy.get(), "Tree")->Items());
    ReadForm(stream, copy.get());
    EXPECT_EQ(TreeIn(copy.get(), "Tree")->ChangeDelay(), 40);
    EXPECT_EQ(Outline(TreeIn(copy.get(), "Tree")->Items()), Outline(tree->Items()));
}

TEST_F(FormPersistenceTest, ReadingHoldsComponentsInLoadingUntilEverythingIsRead)
{
    auto* probe = new TProbeControl(form.get());
    probe->SetName("Probe");
    probe->SetValue(3);
    TMemoryStream stream;
    WriteForm(stream, form.get());

    // Into a fresh form: created, then updated in place when read again.
    copy = NewForm("");
    for (int pass = 1; pass <= 2; ++pass) {
        stream.SetPosition(0);
        ReadForm(stream, copy.get());
        ASSERT_EQ(copy->ComponentCount(), 1);
        auto* read = static_cast<TProbeControl*>(copy->Components(0));
        EXPECT_TRUE(read->LoadingWhenSet);
        EXPECT_EQ(read->LoadedCalls, pass);
        EXPECT_FALSE(read->ComponentState().Contains(csLoading));
        EXPECT_FALSE(copy->ComponentState().Contains(csLoading));
    }

    stream.SetPosition(0);
    std::unique_ptr<TComponent> made(CreateForm(stream, nullptr));
    ASSERT_NE(dynamic_cast<TForm*>(made.get()), nullptr);
    EXPECT_EQ(made->Name(), "MainForm");
    EXPECT_EQ(made->ComponentCount(), 1);
}

TEST_F(FormPersistenceTest, BadStreamsRaiseReadErrorsAndLeaveNoComponentsBehind)
{
    TlxTreeView* tree = AddTree(form.get(), "Tree");
    FillTree(tree->Items());
    auto* probe = new TProbeControl(form.get());
    probe->SetName("Probe");
    const TFormImage good = MakeFormImage(form.get());
    TMemoryStream stream;
    WriteFormImage(stream, good);
    const std::string bytes(static_cast<const char*>(stream.Memory()), size_t(stream.Size()));

    auto expectReadError = [this](TStream& s, const std::string& fragment) {
        copy = NewForm("");
        try {
            ReadForm(s, copy.get());
            ADD_FAILURE() << "no error, expected: " << fragment;
        } catch (const EReadError& e) {
            EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
        }
        EXPECT_EQ(copy->ComponentCount(), 0);
        EXPECT_FALSE(copy->ComponentState().Contains(csLoading));
    };

    // Cut anywhere: the image is not whole.
    for (size_t length = 0; length < bytes.size(); ++length) {
        TStringStream cut(bytes.substr(0, length));
        expectReadError(cut, "");
    }
    TStringStream text("object Form1: TForm\nend\n");
    expectReadError(text, "Not a form stream");

    // Well-formed images the reader cannot apply, found after components were made.
    auto expectImageError = [&](TFormImage image, const std::string& fragment) {
        TMemoryStream s;
        WriteFormImage(s, image);
        s.SetPosition(0);
        expectReadError(s, fragment);
    };
    TFormImage unknownProperty = good;
    unknownProperty.Components[1].Properties["Bogus"] = unknownProperty.Components[1].Properties["Left"];
    expectImageError(unknownProperty, "Bogus");
    TFormImage unknownClass = good;
    unknownClass.Components[1].ClassName = "TNoSuchControl";
    expectImageError(unknownClass, "TNoSuchControl");
    TFormImage parentLoop = good;
    parentLoop.Components[0].ParentKind = pkComponentParent;
    parentLoop.Components[0].ParentName = "Probe";
    parentLoop.Components[1].ParentKind = pkComponentParent;
    parentLoop.Components[1].ParentName = "Tree";
    expectImageError(parentLoop, "loop");
    TFormImage wrongType = good;
    wrongType.Components[0].Properties["Options"] = wrongType.Components[0].Properties["Items.Data"];
    expectImageError(wrongType, "Options");
    TFormImage badEnum = good;
    badEnum.Components[0].Properties["SortType"] = badEnum.Components[1].Properties["Left"];
    badEnum.Components[0].Properties["SortType"][1] = 9;
    expectImageError(badEnum, "SortType");
    TFormImage shortData = good;
    std::string& data = shortData.Components[0].Properties["Items.Data"];
    data.resize(data.size() - 3);
    expectImageError(shortData, "");
}

} // namespace
