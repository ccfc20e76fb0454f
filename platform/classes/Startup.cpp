#include "Startup.h"
#include "ClassRegistry.h"
#include "Component.h"

void StartClasses()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    RegisterClasses({TComponent::ClassInfo()});
}

void StopClasses() {}
