#include "CliClone.h"

#include "model/indDataFile.h"

#include <cstdio>

// Reads the radio and saves its memory as a clone data file. A failed read leaves the file as it was.
int CliRead(const CliArgs& args) {
    std::string out = args.Get("-o");
    if (out.empty()) {
        std::fprintf(stderr, "ostrel-cli read: -o FILE is required\n");
        return kCliUsageError;
    }
    CliClone c;
    if (!c.Setup(args, "read"))
        return kCliUsageError;
    cmcEeprom image;
    if (!c.commands->StartRead(c.Completion([&](dst_CDrv_Result& r) { image = r.image; })))
        return kCliUsageError;
    int status = c.Wait();
    if (status != 0)
        return status;
    const cmcKvtFile::FileError code = indDataFile::Save(out, image, "");
    if (code != cmcKvtFile::FileError::Ok) {
        std::fprintf(stderr, "%s\n", cmcKvtFile::FileErrorText(code, c.tex).c_str());
        return kCliFileError + cmcKvtFile::Code(code);
    }
    std::fprintf(stderr, "Read %s\n", out.c_str());
    return 0;
}
