#pragma once
// Start-up and end of the data-access layer: registers the classes that
// forms may hold (tables, queries, data sources and the field classes), and
// names the local time zone for the C library when TZ does not.
// Run after StartPlatform(), before other threads start.
void StartDb();
void StopDb();
