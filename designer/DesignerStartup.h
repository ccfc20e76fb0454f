#pragma once
// Start-up of the designer unit: adds the plain-text export filter to the
// report engine and registers the classes a layout file may hold. Runs once;
// a second call does nothing. The end does nothing: the registrations last
// for the process (a package that unloads takes its filter back out first,
// see Package.cpp).
#include "designer/VornakExport.h"

VORNAK_EXPORT void StartDesigner();
// The start-up of every library the designer stands on, in dependency order
// (class library, data layer, report engine), then the designer's own.
VORNAK_EXPORT void StartVornakUnits();
VORNAK_EXPORT void StopDesigner();
// Places TVornak on the palette page "Vornak" of a development environment.
VORNAK_EXPORT void Register();
