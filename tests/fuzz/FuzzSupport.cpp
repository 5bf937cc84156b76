#include "FuzzSupport.h"

#include "core/cmcAppDir.h"
#include "core/cmcFatal.h"
#include "model/indDataFile.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fuzz {

namespace {

// The data folder of the build (overlay, initial data), unless OSTREL_DATA_DIR names another.
void UseBuildData() {
    const char* dir = std::getenv("OSTREL_DATA_DIR");
    if (!dir || !*dir)
        setenv("OSTREL_DATA_DIR", OSTREL_FUZZ_DATA_DIR, 1);
}

std::string& ScratchDir() {
    static std::string dir;
    return dir;
}

void RemoveScratch() {
    std::error_code ignored;
    if (!ScratchDir().empty())
        std::filesystem::remove_all(ScratchDir(), ignored);
}

} // namespace

void Finding(const std::string& what) {
    std::fprintf(stderr, "FUZZ FINDING: %s\n", what.c_str());
    std::fflush(stderr);
    __builtin_trap();
}

void FatalIsFinding() {
    cmcSetFatalHandler([](const std::string& text, const std::string&) { Finding("fatal error: " + text); });
}

void FatalThrows() {
    cmcSetFatalHandler([](const std::string& text, const std::string&) { throw Fatal(text); });
}

std::string ScratchPath(const std::string& name) {
    if (ScratchDir().empty()) {
        const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        ScratchDir() = std::string(base) + "/ostrel-fuzz-" + std::to_string(getpid());
        std::filesystem::create_directories(ScratchDir());
        std::atexit(RemoveScratch);
    }
    return ScratchDir() + "/" + name;
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || (size > 0 && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0)
        Finding("cannot write the scratch file " + path);
}

Program& Program::Get() {
    static Program* program = [] {
        UseBuildData();
        auto* p = new Program;
        p->tables.Load(cmcAppDir(), 0);
        p->settings = indModel::ReadSettings(p->tables.Text());
        for (int type : {indModel::kLmr, indModel::kPmr}) {
            indModel::LoadInitialData(indModel::InitialFilePath(p->tables.Text(), type), p->radio[type]);
            p->initial[type] = p->radio[type];
            indModel::ConvertInitial(p->initial[type], p->settings);
        }
        return p;
    }();
    return *program;
}

cmcKvtFile::FileError OpenConvertSave(const std::string& path, const std::string& savePath) {
    using FileError = cmcKvtFile::FileError;
    Program& p = Program::Get();
    QuietBox box;
    // The window's model: its defaults are the initial data of the current model type (LMR at first).
    int current = indModel::kLmr;
    indModel model(&p.initial[current], &box, p.settings);

    cmcEeprom scratch;
    const FileError code = indDataFile::Open(path, scratch, &model);
    if (code != FileError::Ok)
        return code;
    const int type = model.StoredModelType(scratch);
    if (type != indModel::kLmr && type != indModel::kPmr)
        Finding("StoredModelType returned " + std::to_string(type));
    current = type;
    model.SetDefaults(&p.initial[current]);
    cmcEeprom work = p.initial[current];
    if (!work.WriteBlock(0, scratch.Data(), cmcEeprom::kRadioSize))
        Finding("the opened data does not fit the working image");
    model.Convert(work, 0);

    // Save: pack into the radio layout; a failed pack writes nothing.
    if (model.Convert(work, 1))
        return FileError::Ok;
    const FileError saved = indDataFile::Save(savePath, work, std::string());
    if (saved != FileError::Ok)
        Finding("saving the converted data failed with file error " +
                std::to_string(cmcKvtFile::Code(saved)));
    // What was saved opens again.
    cmcEeprom again;
    const FileError reopened = indDataFile::Open(savePath, again, &model);
    if (reopened != FileError::Ok)
        Finding("the saved file does not open again: file error " +
                std::to_string(cmcKvtFile::Code(reopened)));
    return FileError::Ok;
}

} // namespace fuzz
