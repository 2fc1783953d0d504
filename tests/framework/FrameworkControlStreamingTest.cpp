// The windowed control's anchors, constraints, inner border, reading order and
// Parent... switches in form streams.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "platform/framework/Forms.h"
#include "platform/framework/PublishedControls.h"
#include "platform/framework/Streaming.h"

namespace {

class TPanel : public TWinControl {
public:
    using TWinControl::TWinControl;
};

void PublishPanel()
{
    static const bool published = [] {
        TClassPublisher<TPanel> p("TPanel", "", [](TComponent* Owner) -> TComponent* { return new TPanel(Owner); });
        PublishWinControlProperties(p);
        return true;
    }();
    (void)published;
}

TPanel* AddPanel(TForm* form, TWinControl* parent, const std::string& name)
{
    auto* panel = new TPanel(form);
    panel->SetName(name);
    panel->SetParent(parent);
    panel->SetBounds(1, 2, 150, 100);
    return panel;
}

std::set<std::string> StoredNames(const TFormImage& image, const std::string& component)
{
    std::set<std::string> names;
    if (const TComponentImage* c = image.Find(component))
        for (const auto& entry : c->Properties)
            names.insert(entry.first);
    return names;
}

TEST(FrameworkControlStreaming, NewPropertiesComeBackAndTheirDefaultsAreNotStored)
{
    PublishPanel();
    TForm form(nullptr);
    form.SetName("Main");
    AddPanel(&form, &form, "Plain");
    TPanel* custom = AddPanel(&form, &form, "Custom");
    custom->SetAnchors({akRight, akBottom});
    custom->Constraints()->SetMinWidth(40);
    custom->Constraints()->SetMaxHeight(90);
    custom->SetBorderWidth(4);
    custom->SetBiDiMode(bdRightToLeftNoAlign);
    custom->SetCtl3D(false);
    custom->SetShowHint(true);
    AddPanel(&form, custom, "Inner"); // follows Custom in everything
    TPanel* own = AddPanel(&form, custom, "Own");
    own->SetParentShowHint(false); // the same value as its parent's, but its own

    const TFormImage image = MakeFormImage(&form);
    const std::set<std::string> bounds{"Left", "Top", "Width", "Height"};
    EXPECT_EQ(StoredNames(image, "Plain"), bounds);
    EXPECT_EQ(StoredNames(image, "Inner"), bounds);
    std::set<std::string> ownNames = bounds;
    ownNames.insert({"ParentShowHint", "ShowHint"});
    EXPECT_EQ(StoredNames(image, "Own"), ownNames);
    std::set<std::string> customNames = bounds;
    customNames.insert({"Anchors", "Constraints.MinWidth", "Constraints.MaxHeight", "BorderWidth", "BiDiMode",
                        "ParentBiDiMode", "Ctl3D", "ParentCtl3D", "ShowHint", "ParentShowHint"});
    EXPECT_EQ(StoredNames(image, "Custom"), customNames) << FormImageToText(image);

    TMemoryStream stream;
    WriteForm(stream, &form);
    stream.SetPosition(0);
    TForm copy(nullptr);
    ReadForm(stream, &copy);
    auto* custom2 = dynamic_cast<TPanel*>(copy.FindComponent("Custom"));
    auto* inner2 = dynamic_cast<TPanel*>(copy.FindComponent("Inner"));
    auto* own2 = dynamic_cast<TPanel*>(copy.FindComponent("Own"));
    ASSERT_TRUE(custom2 && inner2 && own2);
    EXPECT_EQ(custom2->Anchors(), (TAnchors{akRight, akBottom}));
    EXPECT_EQ(custom2->Constraints()->MinWidth(), 40);
    EXPECT_EQ(custom2->Height(), 90) << "as the constraints left it";
    EXPECT_EQ(custom2->BorderWidth(), 4);
    EXPECT_EQ(custom2->BiDiMode(), bdRightToLeftNoAlign);
    EXPECT_FALSE(custom2->Ctl3D() || custom2->ParentCtl3D() || custom2->ParentShowHint());
    EXPECT_EQ(inner2->BiDiMode(), bdRightToLeftNoAlign) << "taken from its parent again";
    EXPECT_TRUE(inner2->ParentBiDiMode() && inner2->ShowHint());
    custom2->SetShowHint(false);
    EXPECT_FALSE(inner2->ShowHint());
    EXPECT_TRUE(own2->ShowHint()) << "read back as its own value";
}

} // namespace
