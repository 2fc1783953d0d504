#include "platform/framework/Application.h"

#include <QDesktopServices>
#include <QUrl>
#include <stdexcept>

#include "platform/framework/Dialogs.h"
#include "platform/win/WinApi.h"

namespace {

bool OpenWithDesktop(const std::string& File, int Context)
{
    QUrl Url = QUrl::fromLocalFile(QString::fromStdString(File));
    Url.setFragment(QString::number(Context));
    return QDesktopServices::openUrl(Url);
}

} // namespace

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner), OpenHelpFile(OpenWithDesktop) {}

bool TApplication::HelpContext(int Context) { return HelpCommand(HELP_CONTEXT, Context); }

bool TApplication::HelpCommand(WORD Command, std::intptr_t Data)
{
    bool CallHelp = true;
    bool Shown = false;
    if (OnHelp)
        Shown = OnHelp(Command, Data, CallHelp);
    if (!CallHelp || FHelpFile.empty() || !OpenHelpFile)
        return Shown;
    return OpenHelpFile(FHelpFile, int(Data)) || Shown;
}

void TApplication::SetHint(const std::string& Value)
{
    if (Replace(FHint, Value) && OnHint)
        OnHint(this);
}

std::string GetShortHint(const std::string& Hint) { return Hint.substr(0, Hint.find('|')); }

std::string GetLongHint(const std::string& Hint)
{
    const std::size_t bar = Hint.find('|');
    return bar == std::string::npos ? Hint : Hint.substr(bar + 1);
}

void TApplication::HandleException(std::exception_ptr E)
{
    try {
        if (E)
            std::rethrow_exception(E);
    } catch (const EAbort&) {
        // the silent exception: nothing to show
    } catch (const std::exception& error) {
        if (OnException)
            OnException(this, error);
        else
            ShowException(error);
    } catch (...) {
        HandleException(std::make_exception_ptr(std::runtime_error("Unknown error")));
    }
}

void TApplication::ShowException(const std::exception& E) { MessageDlg(E.what(), mtError, {mbOK}, 0); }

namespace {

TApplication* MakeApplication()
{
    auto* application = new TApplication(nullptr);
    TExceptionHandler installed = SetApplicationExceptionHandler(
        [application](std::exception_ptr E) { application->HandleException(E); });
    if (installed)
        SetApplicationExceptionHandler(std::move(installed));
    return application;
}

} // namespace

TApplication* Application()
{
    static TApplication* TheApplication = MakeApplication();
    return TheApplication;
}
