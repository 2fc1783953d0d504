#pragma once
// The application object: the help hook that controls ask for context help. An
// application shows its own help through OnHelp; without a handler, a help file named
// by HelpFile is opened by the desktop's viewer with the context as its fragment
// ("help.html#42").
//
// It is also the error display: an exception that an event handler lets escape while
// Qt delivers an event reaches HandleException, which hands it to OnException or shows
// its message in an error box.
#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "platform/framework/Classes.h"
#include "platform/win/WinTypes.h"

constexpr WORD HELP_CONTEXT = 0x0001;

// Command and Data say what help is asked for; leaving CallHelp true lets the
// application object go on to its help file.
using THelpEvent = std::function<bool(WORD Command, std::intptr_t Data, bool& CallHelp)>;
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);

    const std::string& HelpFile() const { return FHelpFile; }
    void SetHelpFile(const std::string& Value) { FHelpFile = Value; }

    // Asks for the help of one context; true when someone showed it.
    bool HelpContext(int Context);
    bool HelpCommand(WORD Command, std::intptr_t Data);

    // The hint of the control under the mouse (or of a hovered menu item); OnHint
    // follows every change.
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value);
    // Off: no control shows its hint as a tooltip.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }

    THelpEvent OnHelp;
    TNotifyEvent OnHint;
    // How a help file is opened (by default the desktop's viewer); replaceable for tests
    // and for applications with a viewer of their own.
    std::function<bool(const std::string& File, int Context)> OpenHelpFile;

    // OnException when assigned, otherwise ShowException; nothing for EAbort. An exception
    // of another kind than std::exception counts as an unknown error.
    void HandleException(std::exception_ptr E);
    // The message in an error box.
    void ShowException(const std::exception& E);
    TExceptionEvent OnException;

private:
    std::string FHelpFile;
    std::string FHint;
    bool FShowHint = true;
};

// The one application object, made on first use and never freed. Making it installs
// HandleException as the handler of exceptions from event handlers, unless a handler
// is already installed.
TApplication* Application();

// The parts of a hint before and after its first '|'; the whole when it has none.
std::string GetShortHint(const std::string& Hint);
std::string GetLongHint(const std::string& Hint);
