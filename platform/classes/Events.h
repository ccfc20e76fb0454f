#pragma once
// Events: a handler bound to an object's method, with the method's name when
// it was bound by name (the name is what a stream stores).
#include <QString>
#include <functional>
#include <utility>

class TObject;

template <class... Args>
class TEvent {
public:
    using Handler = std::function<void(Args...)>;
    TEvent() = default;
    template <class C, class B>
    TEvent(C* target, void (B::*method)(Args...))
        : Target(target), fn_([target, method](Args... args) { (target->*method)(std::forward<Args>(args)...); })
    {
    }
    explicit TEvent(Handler fn) : fn_(std::move(fn)) {}

    // Binds a published method found by name (streaming).
    void Bind(TObject* target, const QString& method, Handler fn)
    {
        Target = target;
        Method = method;
        fn_ = std::move(fn);
    }
    explicit operator bool() const { return static_cast<bool>(fn_); }
    void operator()(Args... args) const
    {
        if (fn_)
            fn_(std::forward<Args>(args)...);
    }

    TObject* Target = nullptr;
    QString Method;  // empty when bound in code

private:
    Handler fn_;
};

using TNotifyEvent = TEvent<TObject*>;
