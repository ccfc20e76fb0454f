#pragma once
// Start-up and end of the data-access layer: registers the classes that
// forms may hold (tables, queries, data sources and the field classes).
// Run after StartPlatform().
void StartDb();
void StopDb();
