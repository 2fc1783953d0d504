#pragma once
// Runs every step of a multi-step operation to its end even when a step raises (an
// application handler may raise from inside any message), keeps the first exception
// and passes it on once all steps are done. The steps' later exceptions are dropped:
// the first one is the cause, the others usually follow from it.
#include <exception>
#include <utility>

class TFirstError {
public:
    TFirstError() = default;
    TFirstError(const TFirstError&) = delete;
    TFirstError& operator=(const TFirstError&) = delete;

    // Runs Step; an exception it raises is kept when it is the first.
    template <typename F>
    void Run(F&& Step)
    {
        try {
            Step();
        } catch (...) {
            Keep(std::current_exception());
        }
    }

    // Keeps Error when no exception was kept before (for a catch block of one's own).
    void Keep(std::exception_ptr Error)
    {
        if (!FError)
            FError = std::move(Error);
    }

    bool Failed() const { return bool(FError); }

    // The kept exception, handed over: this object holds none afterwards.
    std::exception_ptr Take() { return std::exchange(FError, nullptr); }

    // Raises the kept exception, if any, and forgets it.
    void RethrowIfAny()
    {
        if (FError)
            std::rethrow_exception(Take());
    }

private:
    std::exception_ptr FError;
};
