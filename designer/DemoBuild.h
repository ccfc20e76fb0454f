#pragma once
// The designer's sources build twice: the package a host loads and the demo
// build the demo programs link (compiled with VK_DEMO_BUILD). Every place
// where the demo build behaves differently reads kDemoBuild:
//  - its layouts do not register TQRLabel (DesignerStartup.cpp);
//  - a new label is an expression element (TVornak::NewLabel);
//  - a report that cannot be opened is reported in Italian (VornakReports.cpp);
//  - the control frees the report form it holds when it goes (TVornak::Destroy).
// The package's load and unload hooks (Package.cpp) are left out of the demo
// build altogether.
#ifdef VK_DEMO_BUILD
inline constexpr bool kDemoBuild = true;
#else
inline constexpr bool kDemoBuild = false;
#endif
