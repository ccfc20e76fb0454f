// The package's own start and end when a host loads it as a shared library.
// The demo build links the same units statically and starts them from the
// program, so none of this is in it.
#ifndef VK_DEMO_BUILD
#include "designer/DesignerStartup.h"
#include "designer/export/AsciiExportFilter.h"
#include "engine/export/ExportFilter.h"

// Read by hosts and by tools that inspect the file.
extern "C" VORNAK_EXPORT const char VornakPackageDescription[] = "Vornak v. 1.0 Package";
extern "C" VORNAK_EXPORT const char VornakPackageVersion[] = "1.0.0.0";

namespace {
// Loading the package runs the start-up of every unit it uses, in order, and
// its own last; each runs once however many times it is asked.
__attribute__((constructor)) void LoadPackage() { StartVornakUnits(); }

// The package is linked never to unload while the process lives (its classes
// stay registered); should its code go all the same, the engine's filter list
// must not keep a class whose code is gone.
__attribute__((destructor)) void UnloadPackage()
{
    QRExportFilterLibrary.RemoveFilter<TQRAsciiExportFilter>();
}
}  // namespace
#endif
