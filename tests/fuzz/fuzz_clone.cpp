// Fuzz target (e): the bytes a radio sends during clone information, read and write. The input is a
// script (see CloneRig.h): which command runs with which settings, and the radio's answer to each
// write of the program, fed through the fake serial device on the virtual clock. Every command must
// end, with any outcome; one that does not end within the step caps is a finding.
#include "CloneRig.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::FatalIsFinding();
    fuzz::Program::Get();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::PlayScript(data, size);
    return 0;
}
