#pragma once
// Start-up and end of the class library. Each library of the system has one
// such pair, run once in dependency order (class library, data layer, report
// engine, designer) before the program creates any window.
//
// StartPlatform starts the whole class library: it registers the controls and
// forms that streams may name and creates Application and Screen.
// StartClasses starts only the non-visual half (for programs without windows);
// it also has a write past the file-size limit fail with an error instead of
// killing the process (SIGXFSZ ignored, unless the program handles it).
void StartPlatform();
void StopPlatform();
void StartClasses();
void StopClasses();
