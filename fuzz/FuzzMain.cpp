// The libFuzzer program of one target (VK_FUZZ_TARGET names its function):
// the application and the designer units start once, then libFuzzer calls
// the target with each input.
#include "targets/FuzzTargets.h"
#include "designer/DesignerStartup.h"

#include <QApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    StartVornakUnits();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return VK_FUZZ_TARGET(data, size); }
