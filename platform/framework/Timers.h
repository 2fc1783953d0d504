#pragma once
// Timers that tick on the user-interface thread, between messages.
#include <memory>

#include "platform/framework/Classes.h"

class QTimer;

// A timer runs while Enabled is true and Interval is above zero; changing either
// restarts the count. OnTimer may disable or free the timer, or free its owner.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned Value);
    bool Running() const;

    TNotifyEvent OnTimer;

protected:
    // One tick: calls OnTimer.
    virtual void Timer();

private:
    void UpdateTimer();
    void Tick();

    bool FEnabled = true;
    unsigned FInterval = 1000;
    std::unique_ptr<QTimer> FTimer;
    bool* FDestroyedFlag = nullptr; // set while a tick runs, so the tick learns of our end
};
