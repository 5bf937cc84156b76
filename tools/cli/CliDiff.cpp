// ostrel-cli diff A.ocd B.ocd [--csv] | diff A.ocd --port DEV [--csv]: compares two clone data files,
// or a file and the radio (read first), as the sheets show them: every cell whose text differs (sheet,
// row, column header, both texts), then the radio memory bytes that differ where no cell shows them.
// Exit status 0 when equal, 1 when different, 2 when a file cannot be opened or the radio not read.
#include "CliCellSession.h"
#include "CliClone.h"

#include "app/cmcCsv.h"
#include "app/indCompare.h"
#include "model/indDataFile.h"
#include "model/indModel.h"
#include "sheets/cmcFixedCanvas.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr int kTrouble = 2;

struct Side {
    CliCellSession session;
    cmcEeprom packed; // the file's radio memory as read
    cmcFixedCanvas canvas;
    indCompare::Side view;
};

bool OpenSide(const std::string& path, Side& side) {
    if (side.session.Open(path, false) != cmcKvtFile::FileError::Ok)
        return false;
    indModel model(nullptr, nullptr, indModel::ReadSettings(side.session.tables.Text()));
    if (indDataFile::Open(path, side.packed, &model) != cmcKvtFile::FileError::Ok)
        return false;
    side.view.env = side.session.SheetEnv(side.canvas, true);
    side.view.handler = side.session.handler.get();
    side.view.codecs = side.session.env.get();
    return true;
}

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n')
            c = ' ';
    return text;
}

// The bytes of a run, when it is short enough to read.
std::string Hex(const cmcEeprom& image, const indCompare::ByteRange& r) {
    if (r.last - r.first >= 16)
        return {};
    std::string text;
    char byte[4];
    for (int32_t at = r.first; at <= r.last; ++at) {
        std::snprintf(byte, sizeof byte, "%02X", image.Data()[at]);
        text += (text.empty() ? "" : " ") + std::string(byte);
    }
    return text;
}

std::string Span(const indCompare::ByteRange& r) {
    char text[32];
    std::snprintf(text, sizeof text, "%04X-%04X", unsigned(r.first), unsigned(r.last));
    return text;
}

// Reads the radio into a clone data file of its own in the temporary folder; "" when the read failed
// (its message is shown).
std::string ReadRadio(const CliArgs& args) {
    CliClone c;
    if (!c.Setup(args, "diff"))
        return {};
    cmcEeprom image;
    if (!c.commands->StartRead(c.Completion([&](dst_CDrv_Result& r) { image = r.image; })))
        return {};
    if (c.Wait() != 0)
        return {};
    std::string path = (std::filesystem::temp_directory_path() / "ostrel-diff-XXXXXX").string();
    const int fd = ::mkstemp(path.data());
    if (fd < 0) {
        std::fprintf(stderr, "ostrel-cli diff: cannot make a temporary file for the radio's data\n");
        return {};
    }
    ::close(fd);
    if (indDataFile::Save(path, image, "") != cmcKvtFile::FileError::Ok) {
        std::fprintf(stderr, "ostrel-cli diff: cannot write the radio's data to %s\n", path.c_str());
        std::filesystem::remove(path);
        return {};
    }
    return path;
}

// Removes the radio's temporary file however the comparison ends.
struct TempFile {
    std::string path;
    ~TempFile() {
        if (!path.empty())
            std::filesystem::remove(path);
    }
};

} // namespace

int CliDiff(const CliArgs& args) {
    const bool radio = args.Has("--port");
    size_t known = 0;
    for (const char* option : {"--csv", "--port", "--password", "--high", "--low"})
        known += args.Has(option) ? 1 : 0;
    if (args.positional.size() != (radio ? 1u : 2u) || args.options.size() != known ||
        (!radio && known != (args.Has("--csv") ? 1u : 0u))) {
        std::fprintf(stderr,
                     "usage: ostrel-cli diff A.ocd B.ocd [--csv]\n"
                     "       ostrel-cli diff A.ocd --port DEV [--high|--low] [--password TEXT] [--csv]\n");
        return kCliUsageError;
    }
    TempFile read;
    if (radio) {
        read.path = ReadRadio(args);
        if (read.path.empty())
            return kTrouble;
    }
    Side a, b;
    if (!OpenSide(args.positional[0], a) || !OpenSide(radio ? read.path : args.positional[1], b))
        return kTrouble;
    if (a.session.modelType != b.session.modelType)
        std::fprintf(stderr, "note: the files hold different model types (%s and %s)\n",
                     a.session.modelType ? "PMR" : "LMR", b.session.modelType ? "PMR" : "LMR");

    const std::vector<std::string> sheets = indCompare::Sheets(a.view, b.view);
    const auto cells = indCompare::Cells(a.view, b.view, sheets);
    indModel model(&a.session.defaults, nullptr, indModel::ReadSettings(a.session.tables.Text()));
    const auto ranges = indCompare::Ranges(a.packed, b.packed);
    const auto unshown = indCompare::Unshown(a.view, a.packed, b.packed, model, ranges, sheets);

    const bool csv = args.Has("--csv");
    if (csv)
        std::fputs(cmcCsv::Write({"sheet", "row", "label", "column", "A", "B"}).c_str(), stdout);
    for (const indCompare::CellDifference& d : cells) {
        if (csv) {
            std::fputs(cmcCsv::Write({d.sheet, std::to_string(d.row), d.label, d.column, d.a, d.b}).c_str(),
                       stdout);
            continue;
        }
        const std::string label = d.label.empty() ? "" : " (" + OneLine(d.label) + ")";
        std::printf("%s: row %d%s, '%s': '%s' -> '%s'\n", d.sheet.c_str(), d.row, label.c_str(),
                    d.column.c_str(), OneLine(d.a).c_str(), OneLine(d.b).c_str());
    }
    if (!unshown.empty() && !csv)
        std::printf("radio memory bytes that differ where no cell shows them:\n");
    for (const indCompare::ByteRange& r : unshown) {
        const int32_t n = indCompare::Differing(a.packed, b.packed, r);
        const std::string what = "bytes " + Span(r) + " (" + std::to_string(n) + " differ)";
        const std::string hexA = Hex(a.packed, r), hexB = Hex(b.packed, r);
        if (csv)
            std::fputs(cmcCsv::Write({"", "", "", what, hexA, hexB}).c_str(), stdout);
        else if (hexA.empty())
            std::printf("  %s\n", what.c_str());
        else
            std::printf("  %s: %s -> %s\n", what.c_str(), hexA.c_str(), hexB.c_str());
    }
    if (cells.empty() && ranges.empty()) {
        if (!csv)
            std::printf("no differences\n");
        return 0;
    }
    return 1;
}
