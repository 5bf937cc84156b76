// Fuzz target (a): clone data file bytes through the whole open sequence of the program: the file
// reader and its checks, the model type, expansion and normalisation into the working layout, then
// packing and saving back to a file, which must open again.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::FatalIsFinding();
    fuzz::Program::Get();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string in = fuzz::ScratchPath("in.ocd"), out = fuzz::ScratchPath("out.ocd");
    fuzz::WriteFile(in, data, size);
    fuzz::OpenConvertSave(in, out);
    return 0;
}
