#pragma once
// Forms: top-level windows that parent controls, shown modelessly or modally; and the
// screen they are shown on.
#include "platform/framework/Controls.h"

enum TModalResult {
    mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7, mrAll = 8,
    mrNoToAll = 9, mrYesToAll = 10
};

// Where a form is placed when shown: the centred positions are worked out then; the
// default ones leave the place (and size) to the window manager.
enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter,
    poOwnerFormCenter
};
// The title bar's buttons; without biSystemMenu there are none at all.
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
constexpr TBorderIcons DefaultBorderIcons{biSystemMenu, biMinimize, biMaximize};
// A form's frame. bsNone and bsSingle are the controls' values (TBorderStyle), which a
// form takes as well.
enum TFormBorderStyle : std::uint8_t { bsSizeable = bsSingle + 1, bsDialog, bsToolWindow, bsSizeToolWin };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;
    void Loaded() override;

    // Makes the window and shows it.
    void Show();
    // Shows the form modal to the whole application and handles events until it closes:
    // by a ModalResult that someone set, answered when OnCloseQuery agrees, or by Close
    // and the title bar's close button (mrCancel). Modal forms may show modal forms.
    int ShowModal();
    // Asks OnCloseQuery, then OnClose (whose Action starts as caHide) says what happens.
    void Close();
    // OnCloseQuery's answer; true without a handler.
    virtual bool CloseQuery();
    // Frees the form once the event being handled is done.
    void Release();
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }

    // With KeyPreview, OnKeyDown, OnKeyPress and OnKeyUp see the keys of the form's
    // controls first; a handler that sets the key to 0 keeps it from the control.
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    void SetBorderStyle(TBorderStyle Value) { SetBorderStyle(TFormBorderStyle(Value)); }
    // Sizes the window so that its client area is that wide (high).
    void SetClientWidth(int Value) { SetWidth(Width() - ClientWidth() + Value); }
    void SetClientHeight(int Value) { SetHeight(Height() - ClientHeight() + Value); }
    // Kept for the form's description; the form is never rescaled.
    bool Scaled() const { return FScaled; }
    void SetScaled(bool Value) { FScaled = Value; }
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }

    // Once, after the form was read from a stream, or else before it is first shown.
    TNotifyEvent OnCreate;
    // At the start of the form's destruction, while its components still exist.
    TNotifyEvent OnDestroy;
    // Each time the form is shown, before the user sees it.
    TNotifyEvent OnShow;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;

protected:
    bool IsTopLevelWindow() const override { return true; }
    bool PreviewsKeys() const override { return FKeyPreview; }
    void CreateParams(TCreateParams& Params) override;
    // The window's widget also hands Return and Escape that no control took to the
    // controls (CM_DIALOGKEY).
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;

private:
    // Offers Key to the enabled, visible controls below Parent, depth first; true
    // when one took it.
    static bool SendDialogKey(TWinControl* Parent, WORD Key);

    friend class TFormWindowEvents;
    void DoCreate();
    void DoShow();
    // The modal loop: events until the form is hidden, or a ModalResult is accepted.
    void RunModalLoop(TCloseAction& Action);
    // OnCloseQuery and OnClose for a modal form with a ModalResult; false keeps it open.
    bool CloseModal(TCloseAction& Action);
    void ApplyCloseAction(TCloseAction Action);
    bool WindowShown();
    void PlaceForShowing();
    void ApplyWindowFlags();
    void ApplySizeLimits();

    int FModalResult = mrNone;
    bool FModal = false;
    bool FCreated = false;
    bool FKeyPreview = false;
    TPosition FPosition = poDesigned;
    TBorderIcons FBorderIcons = DefaultBorderIcons;
    TFormBorderStyle FBorderStyle = bsSizeable;
    bool FScaled = true;
    int FPixelsPerInch = TFont::PixelsPerInch;
};

// The form a control is on (itself when it is one), or null.
TForm* GetParentForm(TWinControl* Control);
// The form whose window is modal now (the innermost ShowModal), or null.
TForm* ActiveModalForm();
// The screen: its size and the cursor shown over every window of the application.
class TScreen : public TComponent {
public:
    using TComponent::TComponent;
    TCursor Cursor() const { return FCursor; }
    // Any cursor but crDefault overrides the windows' own cursors until crDefault is set again.
    void SetCursor(TCursor Value);
    int Width() const;
    int Height() const;

private:
    TCursor FCursor = crDefault;
};

// The one screen object, made on first use and never freed.
TScreen* Screen();
