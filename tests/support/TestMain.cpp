#include <QApplication>
#include <gtest/gtest.h>

// Every test program runs inside one QApplication on the offscreen platform,
// so widgets, fonts and painting are real.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    // Widgets of windows destroyed from inside their own events are deleted later.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
