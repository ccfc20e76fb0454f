#include "MessageListening.h"
#include "TestStartup.h"
#include "designer/DesignerStartup.h"

// Test programs of the designer start every unit, as a program that links
// the designer does.
void VkTestStartup()
{
    StartVornakUnits();
    TMessageListening::Install();
}
