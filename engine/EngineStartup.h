#pragma once
// Start-up and end of the report engine: registers the report and band
// classes and the query class for reading layouts. Elements are registered by
// whoever decides which elements a layout may hold. Runs once; a second
// call does nothing.
void StartEngine();
void StopEngine();
