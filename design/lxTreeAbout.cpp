#include "design/lxTreeAbout.h"

#include <mutex>

#include "design/FormResources.h"
#include "platform/framework/Streaming.h"
#include "platform/framework/TextForm.h"

namespace {

const std::string LayoutName = "The about dialog's layout";

} // namespace

void PublishAboutBox()
{
    static std::once_flag once;
    std::call_once(once, [] { TClassPublisher<TlxTreeAbout>("TlxTreeAbout", "TForm"); });
}

TlxTreeAbout::TlxTreeAbout(TComponent* AOwner) : TForm(AOwner)
{
    PublishAboutBox();
    ReadTextForm(FormResource(":/lxTreeView/lxTreeAbout.lxfm", LayoutName), this);
    TitleLabel = FindLayoutComponent<TLabel>(this, "TitleLabel", LayoutName);
    VersionLabel = FindLayoutComponent<TLabel>(this, "VersionLabel", LayoutName);
    DescriptionLabel = FindLayoutComponent<TLabel>(this, "DescriptionLabel", LayoutName);
    OKButton = FindLayoutComponent<TButton>(this, "OKButton", LayoutName);
    VersionLabel->SetCaption(std::string("Version ") + lxTreeViewPackageVersion);
}

void ShowAboutBox()
{
    TlxTreeAbout about(nullptr);
    about.ShowModal();
}
