#include "Startup.h"
#include "MessageListening.h"
#include "TestStartup.h"
#include "db/DbStartup.h"
#include "engine/EngineStartup.h"

void VkTestStartup()
{
    StartPlatform();
    StartDb();
    StartEngine();
    TMessageListening::Install();
}
