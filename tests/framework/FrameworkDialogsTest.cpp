// The common dialogs and message boxes answered by responders, and the application's
// error display.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <stdexcept>
#include <string>

#include "platform/framework/Application.h"
#include "platform/framework/Dialogs.h"
#include "platform/framework/Forms.h"

namespace {

// Installs a responder for one test and puts the previous one back.
class TResponderScope {
public:
    explicit TResponderScope(TDialogResponder Responder) : FPrevious(SetDialogResponder(std::move(Responder))) {}
    ~TResponderScope() { SetDialogResponder(std::move(FPrevious)); }

private:
    TDialogResponder FPrevious;
};

struct TShownMessage {
    std::string Msg;
    TMsgDlgType Type = mtCustom;
    TMsgDlgButtons Buttons;
    int Count = 0;
};

class TMessageScope {
public:
    TMessageScope(TShownMessage& Shown, int Answer)
        : FPrevious(SetMessageDlgResponder([&Shown, Answer](const std::string& Msg, TMsgDlgType Type,
                                                            TMsgDlgButtons Buttons) {
              Shown = {Msg, Type, Buttons, Shown.Count + 1};
              return Answer;
          }))
    {
    }
    ~TMessageScope() { SetMessageDlgResponder(std::move(FPrevious)); }

private:
    TMessageDlgResponder FPrevious;
};

} // namespace

TEST(FrameworkDialogs, FileDialogsKeepTheirFilterAndApplyTheDefaultExtension)
{
    std::string typed;
    std::string seenFilter;
    bool seenSave = false;
    TResponderScope responder([&](TCommonDialog& Dialog) {
        auto& file = dynamic_cast<TOpenDialog&>(Dialog);
        seenFilter = file.Filter() + "#" + std::to_string(file.FilterIndex());
        seenSave = dynamic_cast<TSaveDialog*>(&Dialog) != nullptr;
        file.SetFileName(typed);
        return !typed.empty();
    });
    TOpenDialog open(nullptr);
    open.SetFilter("Text files|*.txt|Images|*.png;*.jpg");
    open.SetFilterIndex(2);
    open.SetDefaultExt("txt");
    EXPECT_TRUE(open.Options() == (TOpenOptions{ofHideReadOnly, ofEnableSizing}));

    typed = "/tmp/notes";
    ASSERT_TRUE(open.Execute());
    EXPECT_EQ(seenFilter, "Text files|*.txt|Images|*.png;*.jpg#2");
    EXPECT_FALSE(seenSave);
    EXPECT_EQ(open.FileName(), "/tmp/notes.txt");
    ASSERT_EQ(open.Files()->Count(), 1);
    EXPECT_EQ(open.Files()->Get(0), "/tmp/notes.txt");
    EXPECT_FALSE(open.Options().Contains(ofExtensionDifferent));

    TSaveDialog save(nullptr);
    save.SetDefaultExt(".txt");
    typed = "/tmp/picture.png";
    ASSERT_TRUE(save.Execute());
    EXPECT_TRUE(seenSave);
    EXPECT_EQ(save.FileName(), "/tmp/picture.png");
    EXPECT_TRUE(save.Options().Contains(ofExtensionDifferent));

    typed.clear();
    EXPECT_FALSE(save.Execute());
}

TEST(FrameworkDialogs, FontAndColorDialogsTakeTheResponderChoice)
{
    TColor seenColor = clNone;
    TResponderScope responder([&](TCommonDialog& Dialog) {
        if (auto* font = dynamic_cast<TFontDialog*>(&Dialog)) {
            font->Font()->SetName("DejaVu Serif");
            font->Font()->SetStyle({fsBold});
        } else if (auto* color = dynamic_cast<TColorDialog*>(&Dialog)) {
            seenColor = color->Color();
            color->SetColor(clRed);
        }
        return true;
    });
    TFontDialog font(nullptr);
    EXPECT_TRUE(font.Options() == TFontDialogOptions{fdEffects});
    font.Font()->SetColor(clNavy);
    ASSERT_TRUE(font.Execute());
    EXPECT_EQ(font.Font()->Name(), "DejaVu Serif");
    EXPECT_TRUE(font.Font()->Style() == TFontStyles{fsBold});
    EXPECT_EQ(font.Font()->Color(), clNavy);

    TColorDialog color(nullptr);
    color.SetColor(clBtnFace);
    ASSERT_TRUE(color.Execute());
    EXPECT_EQ(seenColor, TColor(ColorToRGB(clBtnFace))); // a system colour is offered as RGB
    EXPECT_EQ(color.Color(), clRed);
}

TEST(FrameworkDialogs, MessageDlgAndTheErrorDisplayOfExceptionsFromEventHandlers)
{
    TShownMessage shown;
    TMessageScope messages(shown, mrNo);
    EXPECT_EQ(MessageDlg("Save changes?", mtConfirmation, {mbYes, mbNo, mbCancel}, 0), mrNo);
    EXPECT_EQ(shown.Msg, "Save changes?");
    EXPECT_EQ(shown.Type, mtConfirmation);
    EXPECT_TRUE(shown.Buttons == (TMsgDlgButtons{mbYes, mbNo, mbCancel}));

    TForm form(nullptr);
    auto* control = new TWinControl(&form);
    control->SetParent(&form);
    control->SetBounds(10, 10, 50, 20);
    control->OnKeyDown = [](TObject*, WORD&, TShiftState) { throw std::runtime_error("Disk full"); };
    form.Show();
    QTest::keyClick(control->Widget(), Qt::Key_A);
    EXPECT_EQ(shown.Msg, "Disk full");
    EXPECT_EQ(shown.Type, mtError);
    EXPECT_TRUE(shown.Buttons == TMsgDlgButtons{mbOK});

    std::string handled;
    Application()->OnException = [&](TObject* Sender, const std::exception& E) {
        EXPECT_EQ(Sender, Application());
        handled = E.what();
    };
    const int shownBefore = shown.Count;
    QTest::keyClick(control->Widget(), Qt::Key_A);
    Application()->OnException = nullptr;
    EXPECT_EQ(handled, "Disk full");
    EXPECT_EQ(shown.Count, shownBefore);
}
