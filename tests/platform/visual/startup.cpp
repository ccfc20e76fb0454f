#include "MessageListening.h"
#include "TestStartup.h"
#include "Startup.h"

void VkTestStartup()
{
    StartPlatform();
    TMessageListening::Install();
}
