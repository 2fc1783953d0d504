#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <functional>

#include "platform/framework/Timers.h"

namespace {

// Runs the event loop until done() holds or the time is up; true when done() held.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    return done();
}

void RunEventsFor(int ms)
{
    WaitFor([] { return false; }, ms);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(FrameworkTimer, TicksBetweenMessagesUntilDisabled)
{
    TTimer timer(nullptr);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000u);
    int ticks = 0;
    timer.OnTimer = [&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        if (++ticks == 3)
            timer.SetEnabled(false); // a handler may stop its own timer
    };
    timer.SetInterval(5);
    EXPECT_TRUE(WaitFor([&] { return ticks >= 3; }));
    RunEventsFor(30);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(timer.Running());

    timer.SetEnabled(true);
    timer.SetInterval(0); // an interval of zero stops the timer
    EXPECT_FALSE(timer.Running());
    timer.SetInterval(5);
    EXPECT_TRUE(timer.Running());
    timer.SetTag(reinterpret_cast<std::intptr_t>(&ticks));
    EXPECT_EQ(reinterpret_cast<int*>(timer.Tag()), &ticks);
}

TEST(FrameworkTimer, HandlerMayFreeTheTimersOwner)
{
    auto* owner = new TComponent(nullptr);
    auto* timer = new TTimer(owner);
    timer->SetInterval(1);
    bool fired = false;
    timer->OnTimer = [&](TObject*) {
        fired = true;
        delete owner; // frees the timer inside its own tick
        owner = nullptr;
    };
    EXPECT_TRUE(WaitFor([&] { return fired; }));
    EXPECT_EQ(owner, nullptr);
    RunEventsFor(10); // lets the deferred cleanup run; ASan checks the rest
}
