// ostrel-cli convert IN OUT: opens a clone data file as the Open command does, converts it into the
// working image and back (normalise, pack) and saves it. A converted file converts to itself.
#include "Cli.h"

#include "core/cmcAppDir.h"
#include "core/cmcEeprom.h"
#include "core/cmcKvtFile.h"
#include "core/cmcTextTables.h"
#include "model/indDataFile.h"
#include "model/indLayout.h"
#include "model/indModel.h"

#include <cstdio>
#include <string>

cmcKvtFile::FileError CliOpenData(const std::string& path, cmcTextTables& tables, cmcEeprom& work,
                                  cmcEeprom& defaults) {
    tables.Load(cmcAppDir(), 0);
    const indModel::Settings settings = indModel::ReadSettings(tables.Text());
    indModel model(nullptr, nullptr, settings);
    const cmcKvtFile::FileError code = indDataFile::Open(path, work, &model);
    if (code != cmcKvtFile::FileError::Ok) {
        std::printf("%s\n", tables.Text().GetJoinedText(cmcKvtFile::FileErrorKey(code)).c_str());
        return code;
    }
    // The data carries its model type; its initial data supplies what the radio does not store.
    const int type = model.StoredModelType(work);
    indModel::LoadInitialData(indModel::InitialFilePath(tables.Text(), type), defaults);
    indModel::ConvertInitial(defaults, settings);
    model.SetDefaults(&defaults);
    model.Convert(work, 0);
    return cmcKvtFile::FileError::Ok;
}

int CliConvert(const CliArgs& args) {
    if (args.positional.size() != 2 || !args.options.empty()) {
        std::fprintf(stderr, "usage: ostrel-cli convert IN OUT\n");
        return kCliUsageError;
    }
    cmcTextTables tables;
    cmcEeprom work, defaults;
    cmcKvtFile::FileError code = CliOpenData(args.positional[0], tables, work, defaults);
    if (code != cmcKvtFile::FileError::Ok)
        return cmcKvtFile::Code(code);
    indModel model(&defaults, nullptr, indModel::ReadSettings(tables.Text()));
    if (model.Convert(work, 1)) {
        std::fprintf(stderr, "ostrel-cli convert: the data does not fit into the radio's memory\n");
        return cmcKvtFile::Code(cmcKvtFile::FileError::Data);
    }
    code = indDataFile::Save(args.positional[1], work, indDataFile::CloneComment(work));
    if (code != cmcKvtFile::FileError::Ok) {
        std::printf("%s\n", tables.Text().GetJoinedText(cmcKvtFile::FileErrorKey(code)).c_str());
        return cmcKvtFile::Code(code);
    }
    std::printf("OK\n");
    return 0;
}
