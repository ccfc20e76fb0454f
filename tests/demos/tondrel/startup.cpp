#include "Startup.h"
#include "TestStartup.h"
#include "db/DbStartup.h"
#include "designer/DesignerStartup.h"
#include "engine/EngineStartup.h"

void VkTestStartup()
{
    StartPlatform();
    StartDb();
    StartEngine();
    StartDesigner();
}
