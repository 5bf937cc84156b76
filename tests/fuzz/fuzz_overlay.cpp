// Fuzz target (c): overlay bytes through every lookup. The input's first byte chooses what else runs;
// the rest is an overlay file:
//   - always: read as a text table on its own, every key it holds looked up in every way (line,
//     text, joined text, list count, key test), then lines and keys past what it holds;
//   - always: read as the language index of the program's folder, with the languages it names;
//   - bit 0: put in front of the shipped text overlay (its sections come first, so they replace the
//     shipped ones) and read by the program's readers: the model settings, the file and clone error
//     texts, the navigation tree, and one sheet (bits 1 to 7 choose it) built with every cell drawn.
// A fatal configuration error is an expected outcome; it ends the reader it happened in.
#include "FuzzSupport.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "clone/indCloneMan.h"
#include "core/cmcAppDir.h"
#include "core/cmcGTex.h"
#include "model/indCellHandler.h"
#include "model/indModel.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/iuiSheetFactory.h"
#include "sheets/iuiTreeSheets.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr size_t kMaxKeys = 64;
constexpr int32_t kMaxRows = 24;

std::string Shipped(const std::string& name) {
    std::ifstream in(cmcAppDir() + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

template <class Fn> void Reader(Fn&& fn) {
    try {
        fn();
    } catch (const fuzz::Fatal&) {
    }
}

// Every lookup of the table on every key it holds, then past its ends.
void Lookups(cmcGTex& tex) {
    std::vector<std::string> keys = tex.AllKeys();
    if (keys.size() > kMaxKeys)
        keys.resize(kMaxKeys);
    for (const std::string& key : keys) {
        if (!tex.HasKey(key))
            fuzz::Finding("AllKeys lists '" + key + "' but HasKey denies it");
        tex.GetJoinedText(key);
        tex.CountListLines(key, 255);
        tex.GetText(key);
        tex.GetLine(key, 1);
    }
    tex.HasKey("GI_No_Such_Key");
    if (!keys.empty())
        tex.GetLine(keys.back(), 1000);
    tex.GetText("GI_No_Such_Key");
}

struct Folder {
    std::string dir = fuzz::ScratchPath("overlay");
    std::string index = dir + "/ZV7104K.OVL"; // the language index the fuzz bytes become
    std::string text = dir + "/text.OVL";     // the fuzz bytes in front of the shipped text overlay
    std::string eng;
    Folder() {
        std::filesystem::create_directories(dir);
        // The index may name the shipped overlays: they sit in the folder as well.
        for (const char* name : {"ENG.OVL", "ENGHELP.OVL", "Initial_LMR.ocd", "Initial_PMR.ocd"}) {
            const std::string s = Shipped(name);
            fuzz::WriteFile(dir + "/" + name, reinterpret_cast<const uint8_t*>(s.data()), s.size());
        }
        eng = Shipped("ENG.OVL");
    }
};

void ProgramReaders(cmcGTex& tex, int sheetChoice) {
    fuzz::Program& p = fuzz::Program::Get();
    Reader([&] { indModel::ReadSettings(tex); });
    Reader([&] {
        for (int e = 1; e <= 9; ++e)
            cmcKvtFile::FileErrorText(cmcKvtFile::FileError(e), tex);
    });
    Reader([&] {
        for (int32_t code = 1; code <= 20; ++code)
            indCloneMan::CloneErrorText(code, 1, tex);
    });
    Reader([&] {
        const int type = sheetChoice & 1;
        cmcEeprom work = p.initial[type];
        std::vector<std::string> sheets;
        for (const iuiTreeSheets::Node& node : iuiTreeSheets::Nodes(tex, work.Data(), {type, true, true}))
            if (!node.sheetText.empty())
                sheets.push_back(node.sheetText);
        if (sheets.empty())
            return;
        cmcFixedCanvas canvas;
        cuiSheetEnv env;
        env.texts = &tex;
        env.languages = &p.tables.Languages();
        env.work = &work;
        env.current = &work;
        env.modelType = type;
        env.makerMode = true;
        env.canvas = &canvas;
        auto sheet = iuiSheetFactory::Build(env, sheets[size_t(sheetChoice >> 1) % sheets.size()]);
        cmcFCache lists(tex);
        cmcCodecEnv codecs(&tex, &lists, nullptr);
        fuzz::QuietBox box;
        indCellHandler::Services services;
        services.work = &work;
        services.defaults = &p.initial[type];
        services.env = &codecs;
        services.box = &box;
        services.modelFamily = type;
        indCellHandler handler(services);
        // The first rows show every kind of cell the sheet has; the rest repeat them.
        for (int32_t r = 0; r < sheet->RowCount() && r < kMaxRows; ++r)
            for (int32_t c = 0; c < sheet->ColCount(); ++c) {
                cmcCellObj scratch = sheet->Cell(c, r);
                if (!scratch.HasCell())
                    continue;
                cmcCellCapsule capsule;
                capsule.cell = &scratch;
                capsule.sheet = sheet.get();
                capsule.displayText = scratch.GetDisplayText();
                handler.CallCell(capsule, cmcCellHandler::kNotifyDraw);
            }
    });
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::FatalIsFinding(); // the shipped data must load without one
    fuzz::Program::Get();
    fuzz::FatalThrows();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Folder folder;
    if (size < 1)
        return 0;
    const uint8_t flags = data[0];
    const uint8_t* overlay = data + 1;
    const size_t n = size - 1;

    fuzz::WriteFile(folder.index, overlay, n);
    Reader([&] {
        cmcGTex tex;
        tex.OpenFile(folder.index);
        Lookups(tex);
    });
    Reader([&] {
        cmcTextTables tables;
        const int language = tables.Load(folder.dir, flags >> 4);
        const int count = tables.LanguageCount();
        if (language < 0 || language > count)
            fuzz::Finding("the language used is " + std::to_string(language) + " of " +
                          std::to_string(count));
        for (int i = 0; i < count && i < 4; ++i)
            tables.LanguageName(i);
        tables.Text().GetText("GI_Sys_AppTitle");
    });

    if (flags & 1) {
        std::string text(reinterpret_cast<const char*>(overlay), n);
        text += "\r\n";
        text += folder.eng;
        fuzz::WriteFile(folder.text, reinterpret_cast<const uint8_t*>(text.data()), text.size());
        cmcGTex tex;
        tex.OpenFile(folder.text);
        ProgramReaders(tex, flags >> 1);
    }
    return 0;
}
