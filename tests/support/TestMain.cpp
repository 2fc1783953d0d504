#include <QApplication>
#include <cstdio>
#include <gtest/gtest.h>

#include "platform/framework/Dialogs.h"
#include "platform/framework/Forms.h"

// Every test program runs inside one QApplication on the offscreen platform,
// so widgets, fonts and painting are real.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // No test may wait for a user: message boxes are printed and answered OK, and the
    // common dialogs are cancelled, unless a test answers them itself.
    SetMessageDlgResponder([](const std::string& Msg, TMsgDlgType, TMsgDlgButtons) {
        std::fprintf(stderr, "message box: %s\n", Msg.c_str());
        return int(mrOk);
    });
    SetDialogResponder([](TCommonDialog&) { return false; });
    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    // Widgets of windows destroyed from inside their own events are deleted later.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
