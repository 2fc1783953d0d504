#pragma once
// The package's about dialog: its name, its version and an OK button. The layout is the
// text form resources/lxTreeAbout.lxfm.
#include "platform/framework/Forms.h"
#include "platform/framework/StdCtrls.h"

// The version of the package, as the about dialog shows it.
constexpr const char* lxTreeViewPackageVersion = "2.3.1.16";

class TlxTreeAbout : public TForm {
public:
    // Reads the dialog's layout; EReadError when it cannot be read.
    explicit TlxTreeAbout(TComponent* AOwner);

    TLabel* TitleLabel = nullptr;
    TLabel* VersionLabel = nullptr;
    TLabel* DescriptionLabel = nullptr;
    TButton* OKButton = nullptr;
};

// Shows the about dialog modally and frees it.
void ShowAboutBox();

// Makes the dialog's class known to the form reader (done when the dialog is first made).
void PublishAboutBox();
