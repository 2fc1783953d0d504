// Message boxes on QMessageBox.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

#include "platform/framework/Application.h"
#include "platform/framework/Dialogs.h"
#include "platform/framework/Forms.h"

namespace {

TMessageDlgResponder& MessageDlgResponder()
{
    static TMessageDlgResponder responder;
    return responder;
}

struct TButtonKind {
    TMsgDlgBtn Button;
    QMessageBox::StandardButton Standard; // NoButton: a button of our own, captioned Caption
    const char* Caption;
    int Result;
};

// In the order the buttons appear; the first one present is the default button.
constexpr TButtonKind ButtonKinds[] = {
    {mbYes, QMessageBox::Yes, "", mrYes},           {mbNo, QMessageBox::No, "", mrNo},
    {mbOK, QMessageBox::Ok, "", mrOk},              {mbCancel, QMessageBox::Cancel, "", mrCancel},
    {mbAbort, QMessageBox::Abort, "", mrAbort},     {mbRetry, QMessageBox::Retry, "", mrRetry},
    {mbIgnore, QMessageBox::Ignore, "", mrIgnore},  {mbAll, QMessageBox::NoButton, "&All", mrAll},
    {mbNoToAll, QMessageBox::NoToAll, "", mrNoToAll}, {mbYesToAll, QMessageBox::YesToAll, "", mrYesToAll},
    {mbHelp, QMessageBox::Help, "", mrNone},
};

QString TitleOf(TMsgDlgType DlgType)
{
    switch (DlgType) {
    case mtWarning: return QStringLiteral("Warning");
    case mtError: return QStringLiteral("Error");
    case mtInformation: return QStringLiteral("Information");
    case mtConfirmation: return QStringLiteral("Confirm");
    default: return QCoreApplication::applicationName();
    }
}

QMessageBox::Icon IconOf(TMsgDlgType DlgType)
{
    switch (DlgType) {
    case mtWarning: return QMessageBox::Warning;
    case mtError: return QMessageBox::Critical;
    case mtInformation: return QMessageBox::Information;
    case mtConfirmation: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
    }
}

// What Escape (or the title bar's close button) answers: Cancel, else No, else OK.
int EscapeResult(TMsgDlgButtons Buttons)
{
    for (TMsgDlgBtn button : {mbCancel, mbNo, mbOK})
        if (Buttons.Contains(button))
            return ButtonKinds[button].Result;
    return mrCancel;
}

using TButtonResults = std::vector<std::pair<QAbstractButton*, int>>;

TButtonResults AddButtons(QMessageBox& Box, TMsgDlgButtons Buttons)
{
    TButtonResults added;
    for (const TButtonKind& kind : ButtonKinds) {
        if (!Buttons.Contains(kind.Button))
            continue;
        QAbstractButton* button = kind.Standard != QMessageBox::NoButton
                                      ? Box.addButton(kind.Standard)
                                      : Box.addButton(QString::fromUtf8(kind.Caption), QMessageBox::AcceptRole);
        if (added.empty())
            Box.setDefaultButton(qobject_cast<QPushButton*>(button));
        if (kind.Result == EscapeResult(Buttons))
            Box.setEscapeButton(button);
        added.emplace_back(button, kind.Result);
    }
    return added;
}

int ShowMessageBox(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx)
{
    QMessageBox box(IconOf(DlgType), TitleOf(DlgType), QString::fromStdString(Msg), QMessageBox::NoButton,
                    QApplication::activeWindow());
    const TButtonResults buttons = AddButtons(box, Buttons);
    for (;;) {
        box.exec();
        int result = EscapeResult(Buttons);
        for (const auto& [button, buttonResult] : buttons)
            if (button == box.clickedButton())
                result = buttonResult;
        if (result != mrNone)
            return result;
        Application()->HelpContext(HelpCtx); // the help button: show the help, ask again
    }
}

} // namespace

TMessageDlgResponder SetMessageDlgResponder(TMessageDlgResponder Responder)
{
    return std::exchange(MessageDlgResponder(), std::move(Responder));
}

int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx)
{
    if (Buttons == TMsgDlgButtons{})
        Buttons = {mbOK};
    if (MessageDlgResponder())
        return MessageDlgResponder()(Msg, DlgType, Buttons);
    return ShowMessageBox(Msg, DlgType, Buttons, HelpCtx);
}

void ShowMessage(const std::string& Msg) { MessageDlg(Msg, mtCustom, {mbOK}, 0); }
