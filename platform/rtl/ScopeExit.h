#pragma once
// Runs a piece of code when the scope that holds the guard ends, however it
// ends: a flag goes back, an update ends, a step that only success keeps is
// undone (the success path calls Dismiss). While an exception is already on
// its way, a failure of that code is dropped: the first error is the one the
// caller hears of.
#include <exception>
#include <utility>

template <class F>
class TScopeExit {
public:
    explicit TScopeExit(F action) : action_(std::move(action)) {}
    ~TScopeExit() noexcept(false)
    {
        if (!armed_)
            return;
        if (std::uncaught_exceptions() == unwinding_) {
            action_();
            return;
        }
        try {
            action_();
        } catch (...) {
        }
    }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

    void Dismiss() { armed_ = false; }

private:
    F action_;
    int unwinding_ = std::uncaught_exceptions();
    bool armed_ = true;
};
