#include "qt/Dispatch.h"
#include "qt/WidgetLink.h"

namespace {

TExceptionSink& Sink()
{
    static TExceptionSink sink;
    return sink;
}

}  // namespace

void DispatchSafely(const std::function<void()>& handler)
{
    TDispatchScope scope;
    try {
        handler();
    } catch (const std::exception& e) {
        const TExceptionSink sink = Sink();
        if (!sink)
            throw;
        sink(e);
    }
}

TExceptionSink SetExceptionSink(TExceptionSink sink)
{
    return std::exchange(Sink(), std::move(sink));
}
