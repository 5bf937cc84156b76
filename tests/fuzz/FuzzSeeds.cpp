// Writes the seed corpora of the fuzz targets at build time, so that the repository carries no binary
// seeds: ostrel-fuzz-seeds OUTDIR makes OUTDIR/<target>/ for datafile, image, overlay, cells and
// clone from the shipped initial data and overlays, and from recordings of the simulated radio's
// answers (its protocol engine, driven in-process through the clone fuzz target's own rig).
#include "CellEdits.h"
#include "CloneRig.h"
#include "FuzzSupport.h"

#include "RadioSimEngine.h"

#include "core/cmcAppDir.h"
#include "core/cmcFatal.h"
#include "model/indDataFile.h"
#include "model/indLayout.h"
#include "model/indModel.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

std::string g_out;

void Seed(const std::string& target, const std::string& name, const Bytes& bytes) {
    const fs::path dir = fs::path(g_out) / target;
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// (a) The initial data files, and short or damaged forms of them.
void DataFiles() {
    for (const char* name : {"Initial_LMR.ocd", "Initial_PMR.ocd"}) {
        const std::string file = ReadAll(cmcAppFile(name));
        Seed("datafile", name, Text(file));
        // The header and the first lines: every check before coverage.
        size_t at = 0;
        for (int line = 0; line < 24 && at != std::string::npos; ++line)
            at = file.find('\n', at + 1);
        Seed("datafile", std::string("head-") + name,
             Text(file.substr(0, at == std::string::npos ? file.size() : at + 1)));
    }
    const std::string header = "33290000\r\n#Comment=fuzz\r\n#MapRev=1\r\n";
    Seed("datafile", "adr16", Text(header + "#AdrBit=16\r\n00001000112233445566778899AABBCCDDEEFF\r\n"));
    Seed("datafile", "adr24", Text(header + "#AdrBit=24\r\n00010008DEADBEEF01020304\r\n"));
    Seed("datafile", "extra-alt",
         Text("33290100\r\n#Comment=\r\n#MapRev=0\r\n#AdrBit=32\r\n0000FF7004A1B2C3D4\r\n"));
}

// (b) The initial radio images, untouched and with patches over the regions that matter: the head,
// the directories, the first tables and the end of the packed data.
void Images() {
    fuzz::Program& p = fuzz::Program::Get();
    for (int type : {0, 1}) {
        const uint8_t* d = p.radio[type].Data();
        Seed("image", "initial-" + std::to_string(type), Bytes{uint8_t(type)});
        int32_t end = indLayout::Get32(d, indLayout::kEndAt32);
        if (end <= 0 || end >= cmcEeprom::kRadioSize)
            end = 0x1000;
        for (int32_t address : {0x0000, 0x0080, 0x0100, 0x0130, 0x0200, 0x0300, 0x0400, 0x0800, 0x1000,
                                (end & ~0xFF) - 0x100, end & ~0xFF}) {
            if (address < 0 || address + 0x40 > cmcEeprom::kRadioSize)
                continue;
            Bytes seed{uint8_t(type), uint8_t(address >> 8), uint8_t(address), 0x40};
            seed.insert(seed.end(), d + address, d + address + 0x40);
            Seed("image", "patch-" + std::to_string(type) + "-" + std::to_string(address), seed);
        }
    }
    Seed("image", "zero", Bytes{2});
}

// (c) The shipped overlays on their own, slices of the text overlay, and slices put in front of it.
void Overlays() {
    Seed("overlay", "index", Text(std::string(1, '\0') + ReadAll(cmcAppFile("ZV7104K.OVL"))));
    Seed("overlay", "help", Text(std::string(1, '\0') + ReadAll(cmcAppFile("ENGHELP.OVL"))));
    const std::string eng = ReadAll(cmcAppFile("ENG.OVL"));
    // Section starts ("#" at a line start followed by a key).
    std::vector<size_t> starts;
    for (size_t at = 0; (at = eng.find("\n#", at)) != std::string::npos; ++at)
        if (at + 2 < eng.size() && eng[at + 2] != '\r' && eng[at + 2] != '\n')
            starts.push_back(at + 1);
    const size_t slices = 24;
    for (size_t i = 0; i < slices && !starts.empty(); ++i) {
        const size_t first = starts[i * starts.size() / slices];
        const size_t last = starts[std::min(starts.size() - 1, i * starts.size() / slices + 6)];
        const std::string part = eng.substr(first, last - first);
        Seed("overlay", "slice-" + std::to_string(i), Text(std::string(1, '\0') + part + "#End_Of_Ovl\r\n"));
        // In front of the shipped overlay, with one of the sheets built.
        Seed("overlay", "front-" + std::to_string(i),
             Text(std::string(1, char(1 | (i * 2 + 1) << 1)) + part));
    }
    for (int sheet = 0; sheet < 8; ++sheet)
        Seed("overlay", "sheet-" + std::to_string(sheet), Bytes{uint8_t(1 | sheet << 1)});
}

// (d) Edits on every sheet of the tree, with texts the cells take.
void Cells() {
    const char* texts[] = {"146.52", "446.1", "1", "12", "OFF", "ON", "Name", "67.0", "-1", ""};
    int n = 0;
    for (int type : {0, 1})
        for (int sheet = 0; sheet < 80; ++sheet) {
            std::vector<fuzz::CellEdit> edits;
            fuzz::CellEdit e;
            e.sheet = uint8_t(sheet);
            e.column = uint8_t(sheet % 4);
            e.row = 0;
            e.text = texts[sheet % 10];
            edits.push_back(e);
            e.kind = fuzz::CellEdit::Next;
            e.column = uint8_t(sheet % 4 + 1);
            edits.push_back(e);
            Seed("cells", "edit-" + std::to_string(n++), fuzz::EncodeEdits(uint8_t(type), edits));
        }
}

// (e) The simulated radio's answers to the program's clone commands, recorded as scripts.
void CloneScripts() {
    struct Case {
        const char* name;
        fuzz::CloneSetup setup;
        RadioSimEngine::Options radio;
    };
    using F = RadioSimEngine::Fault;
    auto options = [](int32_t end, F fault = F::None) {
        RadioSimEngine::Options o;
        o.endAddress = end;
        o.fault = fault;
        o.faultFrame = 3;
        return o;
    };
    auto setup = [](fuzz::CloneSetup::Op op, bool high, bool password = false, bool maker = false) {
        fuzz::CloneSetup s;
        s.op = op;
        s.high = high;
        s.password = password;
        s.maker = maker;
        return s;
    };
    using Op = fuzz::CloneSetup;
    std::vector<Case> cases = {
        {"info-low", setup(Op::Info, false), options(0xFF7F)},
        {"info-high", setup(Op::Info, true), options(0xFF7F)},
        {"info-wrong-model", setup(Op::Info, true), options(0xFF7F, F::WrongModel)},
        {"info-version2", setup(Op::Info, false), options(0xFF7F, F::DataVersion2)},
        {"read-low", setup(Op::Read, false), options(0x00FF)},
        {"read-high", setup(Op::Read, true), options(0x01FF)},
        {"read-long", setup(Op::Read, true), options(0x07FF)},
        {"read-drop", setup(Op::Read, true), options(0x00FF, F::DropFrame)},
        {"read-checksum", setup(Op::Read, true), options(0x00FF, F::BadChecksum)},
        {"read-lower", setup(Op::Read, false), options(0x00FF, F::LowerCaseHex)},
        {"read-endcount", setup(Op::Read, true), options(0x00FF, F::WrongEndCount)},
        {"read-silence", setup(Op::Read, true), options(0x00FF, F::Silence)},
        {"write-low", setup(Op::Write, false), options(0xFF7F)},
        {"write-high", setup(Op::Write, true), options(0xFF7F)},
        {"write-refused", setup(Op::Write, true), options(0xFF7F, F::RefuseWrite)},
        {"write-result", setup(Op::Write, true), options(0xFF7F, F::WriteResult)},
        {"write-silence", setup(Op::Write, true), options(0xFF7F, F::Silence)},
    };
    Case protectedRead{"read-password", setup(Op::Read, true, true), options(0x00FF)};
    protectedRead.radio.password = "1234";
    cases.push_back(protectedRead);
    Case protectedWrite{"write-password", setup(Op::Write, true, true), options(0xFF7F)};
    protectedWrite.radio.password = "1234";
    cases.push_back(protectedWrite);
    Case wide{"read-wide", setup(Op::Read, true), options(0x00FF)};
    wide.radio.wide = true;
    cases.push_back(wide);
    Case echo{"read-echo", setup(Op::Read, false), options(0x00FF)};
    echo.radio.echo = true;
    cases.push_back(echo);
    Case makerWrite{"write-maker", setup(Op::Write, true, false, true), options(0xFF7F)};
    cases.push_back(makerWrite);
    Case pmrWrite{"write-pmr", setup(Op::Write, false), options(0xFF7F)};
    pmrWrite.setup.modelType = 1;
    cases.push_back(pmrWrite);
    Case slow{"read-delayed", setup(Op::Read, true), options(0x00FF)};
    slow.setup.replyDelayMs = 40;
    cases.push_back(slow);

    // A read of the whole packed data passes the read checks: the program converts what it got.
    fuzz::Program& p = fuzz::Program::Get();
    Case whole{"read-data", setup(Op::Read, true),
               options(indLayout::Get32(p.radio[0].Data(), indLayout::kEndAt32))};
    cases.push_back(whole);
    for (const Case& c : cases) {
        RadioSimEngine radio(c.radio, p.radio[0]);
        Bytes script{c.setup.Encode()};
        const fuzz::CloneOutcome outcome = fuzz::RunClone(c.setup, [&](const Bytes& written, int32_t baud) {
            Bytes answer;
            radio.Receive(written.data(), int32_t(written.size()), baud, answer);
            fuzz::AppendChunk(script, answer);
            return answer;
        });
        std::printf("clone seed %s: outcome %d after %d writes\n", c.name, outcome.code, outcome.writes);
        Seed("clone", c.name, script);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ostrel-fuzz-seeds OUTDIR\n");
        return 64;
    }
    g_out = argv[1];
    fuzz::FatalIsFinding();
    fuzz::Program::Get(); // also points the data folder at the build's
    fs::remove_all(g_out);
    DataFiles();
    Images();
    Overlays();
    Cells();
    CloneScripts();
    return 0;
}
