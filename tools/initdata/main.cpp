// ostrel-initdata OUTDIR: writes Initial_LMR.ocd and Initial_PMR.ocd, the initial data files.
#include "InitialData.h"

#include "core/cmcEeprom.h"
#include "model/indDataFile.h"
#include "model/indModel.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ostrel-initdata OUTDIR\n");
        return 64;
    }
    const std::string dir = argv[1];
    const struct {
        int type;
        const char* file;
    } files[] = {{indModel::kLmr, "Initial_LMR.ocd"}, {indModel::kPmr, "Initial_PMR.ocd"}};
    for (const auto& f : files) {
        cmcEeprom work;
        if (!InitialData::Build(f.type, work)) {
            std::fprintf(stderr, "ostrel-initdata: the defaults of %s do not form valid data\n", f.file);
            return 1;
        }
        const std::string path = dir + "/" + f.file;
        const cmcKvtFile::FileError code =
            indDataFile::Save(path, work, f.type == indModel::kPmr ? "Initial data PMR" : "Initial data LMR");
        if (code != cmcKvtFile::FileError::Ok) {
            std::fprintf(stderr, "ostrel-initdata: cannot write %s (file error %d)\n", path.c_str(),
                         cmcKvtFile::Code(code));
            return 1;
        }
    }
    return 0;
}
