#include "platform/framework/Application.h"

#include <QDesktopServices>
#include <QUrl>

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

TApplication* Application()
{
    static TApplication* TheApplication = new TApplication(nullptr);
    return TheApplication;
}
