#include "MessageListening.h"
#include "TestStartup.h"
#include "Startup.h"
#include "db/DbStartup.h"
#include "engine/EngineStartup.h"

// The host starts its own libraries; the package starts itself when loaded.
void VkTestStartup()
{
    StartPlatform();
    StartDb();
    StartEngine();
    TMessageListening::Install();
}
