#include "Startup.h"
#include "ClassRegistry.h"
#include "Component.h"

#include <csignal>

namespace {

// A process over its file-size limit (RLIMIT_FSIZE) is killed by SIGXFSZ on
// the write that crosses it, before any writer can report or clean up: a save
// would leave its temporary file behind and take the host program with it.
// Ignored, that write fails with EFBIG, which the file writers report as
// EInOutError after removing what they wrote. A disposition is the whole
// process's, so it is set once here, where every program of the system starts
// the class library, and only over the default: a host's own handler stays.
void IgnoreFileSizeSignal()
{
    struct sigaction current {};
    if (sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
        std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace

void StartClasses()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    RegisterClasses({TComponent::ClassInfo()});
    IgnoreFileSizeSignal();
}

void StopClasses() {}
