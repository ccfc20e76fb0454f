#pragma once
// Runs the start-up routines of the libraries a test program links.
void VkTestStartup();
