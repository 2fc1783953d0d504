#include "platform/framework/Timers.h"
#include "platform/win/WinApi.h"

#include <QCoreApplication>
#include <QTimer>
#include <QtGlobal>
#include <exception>

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner)
{
    UpdateTimer();
}

TTimer::~TTimer()
{
    if (FDestroyedFlag)
        *FDestroyedFlag = true;
    if (FTimer) {
        FTimer->stop();
        FTimer->disconnect();
        // Freed from inside its own timeout: let the event loop delete the QTimer.
        if (FDestroyedFlag)
            FTimer.release()->deleteLater();
    }
}

void TTimer::SetEnabled(bool Value)
{
    if (FEnabled != Value) {
        FEnabled = Value;
        UpdateTimer();
    }
}

void TTimer::SetInterval(unsigned Value)
{
    if (FInterval != Value) {
        FInterval = Value;
        UpdateTimer();
    }
}

bool TTimer::Running() const
{
    return FTimer && FTimer->isActive();
}

void TTimer::UpdateTimer()
{
    if (FTimer)
        FTimer->stop();
    if (!FEnabled || FInterval == 0 || !QCoreApplication::instance())
        return;
    if (!FTimer) {
        FTimer = std::make_unique<QTimer>();
        QObject::connect(FTimer.get(), &QTimer::timeout, [this] { Tick(); });
    }
    FTimer->start(int(FInterval));
}

void TTimer::Tick()
{
    bool destroyed = false;
    bool* const outerFlag = FDestroyedFlag;
    FDestroyedFlag = &destroyed;
    try {
        Timer();
    } catch (...) {
        // An exception cannot travel through the event loop: the application's
        // exception handler gets it, and the timer goes on.
        HandleApplicationException();
    }
    if (destroyed) {
        if (outerFlag)
            *outerFlag = true;
        return;
    }
    FDestroyedFlag = outerFlag;
}

void TTimer::Timer()
{
    // Call a copy: a handler that frees the timer frees OnTimer with it.
    if (const TNotifyEvent handler = OnTimer)
        handler(this);
}
