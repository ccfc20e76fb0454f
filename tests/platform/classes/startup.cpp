#include "TestStartup.h"
#include "Startup.h"

void VkTestStartup() { StartClasses(); }
