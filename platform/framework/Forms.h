#pragma once
// Forms: top-level windows that parent controls.
#include "platform/framework/Controls.h"

enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    // Makes the window and shows it.
    void Show();
    // Shows the form and runs the event loop until ModalResult is set or the form closes.
    int ShowModal();
    void Close();
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }

protected:
    bool IsTopLevelWindow() const override { return true; }
    void CreateParams(TCreateParams& Params) override;
    // The window's widget also hands Return and Escape that no control took to the
    // controls (CM_DIALOGKEY).
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;

private:
    // Offers Key to the enabled, visible controls below Parent, depth first; true
    // when one took it.
    static bool SendDialogKey(TWinControl* Parent, WORD Key);
    int FModalResult = mrNone;
    bool FModal = false;
};

// The form a control is on (itself when it is one), or null.
TForm* GetParentForm(TWinControl* Control);
