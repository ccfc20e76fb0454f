#pragma once
// The delivery of events from the windows to the model. An exception that
// escapes a handler goes to the sink the program installs (the application
// shows it) and the program goes on; with no sink installed it goes on up.
#include <exception>
#include <functional>

using TExceptionSink = std::function<void(const std::exception&)>;

// Runs an event handler body; every event that a window delivers to the
// model passes through here.
void DispatchSafely(const std::function<void()>& handler);

// Installs the sink (nil removes it); returns the previous one.
TExceptionSink SetExceptionSink(TExceptionSink sink);
