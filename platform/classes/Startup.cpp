#include "Startup.h"
#include "ClassRegistry.h"
#include "Component.h"

void StartPlatform()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    RegisterClasses({TComponent::ClassInfo()});
}

void StopPlatform() {}
