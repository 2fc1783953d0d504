// Forms read from their text: values, nesting, event handlers bound to the form's
// methods, and text that is not a form.
#include <gtest/gtest.h>

#include <memory>

#include "platform/framework/Forms.h"
#include "platform/framework/Menus.h"
#include "platform/framework/PublishedControls.h"
#include "platform/framework/TextForm.h"

namespace {

class TBox : public TWinControl {
public:
    using TWinControl::TWinControl;
};

class TMenuForm : public TForm {
public:
    using TForm::TForm;
    void ItemClick(TObject* Sender) { Clicked = Sender; }
    void BoxKeyDown(TObject*, WORD& Key, TShiftState) { Key = 0; }
    TObject* Clicked = nullptr;
};

void PublishTestClasses()
{
    static const bool published = [] {
        TClassPublisher<TBox> box("TBox", "", [](TComponent* Owner) -> TComponent* { return new TBox(Owner); });
        PublishWinControlProperties(box);
        TClassPublisher<TMenuForm>("TMenuForm", "TForm")
            .Method<TNotifyEvent>("ItemClick", &TMenuForm::ItemClick)
            .Method<TKeyEvent>("BoxKeyDown", &TMenuForm::BoxKeyDown);
        return true;
    }();
    (void)published;
}

const char* const MenuFormText = R"(
object MenuForm: TMenuForm
  Caption = 'It''s ' + 'joined'
  Color = clWindow
  Font.Height = -11
  // a comment line
  object Outer: TBox
    Left = 5
    Anchors = [akLeft, akTop, akRight]
    OnKeyDown = BoxKeyDown
    object Inner: TBox
      Top = $10
      Visible = False
    end
  end
  object Menu: TPopupMenu
    AutoPopup = False
    object First: TMenuItem
      Caption = '&First'
      OnClick = ItemClick
    end
    object Line: TMenuItem
      Caption = '-'
    end
  end
end
)";

TEST(TextForm, ValuesNestingAndHandlers)
{
    PublishTestClasses();
    TMenuForm form(nullptr);
    ReadTextForm(MenuFormText, &form);

    EXPECT_EQ(form.Caption(), "It's joined");
    EXPECT_EQ(form.Color(), clWindow);
    EXPECT_EQ(form.Font()->Height(), -11);
    auto* outer = dynamic_cast<TBox*>(form.FindComponent("Outer"));
    auto* inner = dynamic_cast<TBox*>(form.FindComponent("Inner"));
    ASSERT_TRUE(outer && inner);
    EXPECT_EQ(outer->Parent(), &form);
    EXPECT_EQ(inner->Parent(), outer);
    EXPECT_EQ(outer->Left(), 5);
    EXPECT_EQ(inner->Top(), 16);
    EXPECT_FALSE(inner->Visible());
    EXPECT_EQ(outer->Anchors(), (TAnchors{akLeft, akTop, akRight}));

    WORD key = VK_RETURN;
    ASSERT_TRUE(bool(outer->OnKeyDown));
    outer->OnKeyDown(outer, key, {});
    EXPECT_EQ(key, 0);

    auto* menu = dynamic_cast<TPopupMenu*>(form.FindComponent("Menu"));
    ASSERT_TRUE(menu);
    EXPECT_FALSE(menu->AutoPopup());
    ASSERT_EQ(menu->Items()->Count(), 2);
    TMenuItem* first = menu->Items()->Items(0);
    EXPECT_EQ(first->Name(), "First");
    EXPECT_TRUE(menu->Items()->Items(1)->IsLine());
    EXPECT_EQ(first->GetParentComponent(), menu);
    first->Click();
    EXPECT_EQ(form.Clicked, first);
}

// Bad text names its line; a handler the form lacks, or of the wrong kind, fails the read
// and leaves no component behind.
TEST(TextForm, BadTextFailsCleanly)
{
    PublishTestClasses();
    const auto failure = [](const std::string& text) {
        TMenuForm form(nullptr);
        try {
            ReadTextForm(text, &form);
        } catch (const EReadError& e) {
            EXPECT_EQ(form.ComponentCount(), 0) << text;
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(failure("object F: TMenuForm\n  Caption = 'open\nend\n"), "Line 2: a string without its closing quote");
    EXPECT_EQ(failure("object F: TMenuForm\n  Left = 1x\nend\n"), "Line 2: not a value: 1x");
    EXPECT_EQ(failure("object F: TMenuForm\n"), "Line 1: object F has no end");
    EXPECT_EQ(failure("object F: TMenuForm\nend\nend\n"), "Line 3: text after the form's end");
    EXPECT_EQ(failure("object F: TMenuForm\n object B: TBox\n  Anchors = [akSideways]\n end\nend\n"),
              "Line 3: unknown set element akSideways");
    EXPECT_NE(failure("object F: TMenuForm\n object B: TBox\n  OnClick = Missing\n end\nend\n").find("no method Missing"),
              std::string::npos);
    EXPECT_NE(failure("object F: TMenuForm\n object B: TBox\n  OnClick = BoxKeyDown\n end\nend\n")
                  .find("does not fit"),
              std::string::npos);
    EXPECT_NE(failure("object F: TMenuForm\n object B: TBox\n end\n object B: TBox\n end\nend\n").find("second object"),
              std::string::npos);
}

} // namespace
