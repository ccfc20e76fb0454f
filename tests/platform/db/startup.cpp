#include "DbStartup.h"
#include "Startup.h"
#include "TestStartup.h"

void VkTestStartup()
{
    StartClasses();  // the non-visual half: the data layer needs no windows
    StartDb();
}
