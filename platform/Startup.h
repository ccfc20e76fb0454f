#pragma once
// Start-up and end of the class library. Each library of the system has one
// such pair, run once in dependency order (class library, data layer, report
// engine, designer) before the program creates any window.
void StartPlatform();
void StopPlatform();
