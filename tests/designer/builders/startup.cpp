#include "TestStartup.h"
#include "Startup.h"
#include "db/DbStartup.h"
#include "engine/EngineStartup.h"

// The builders need nothing that the designer's own start-up registers.
void VkTestStartup()
{
    StartPlatform();
    StartDb();
    StartEngine();
}
