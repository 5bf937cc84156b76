#pragma once
// The command line's shared pieces: the verb table and a small option parser. Each verb lives in its
// own source file as one function over the parsed arguments.
#include "core/cmcKvtFile.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

struct CliArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;             // "--port" -> "/dev/ttyUSB0"; flags map to ""
    std::vector<std::pair<std::string, std::string>> given; // every option in order, repeats kept

    bool Has(const std::string& name) const { return options.count(name) != 0; }
    std::string Get(const std::string& name, const std::string& fallback = {}) const;
    // Every value an option was given, in order ("--port A --port B").
    std::vector<std::string> GetAll(const std::string& name) const;
};

struct CliVerb {
    const char* name;
    const char* usage;   // arguments after the verb, e.g. "FILE"
    const char* summary; // one line for --help
    // Options that take a value (e.g. "--port"); every other "--x" is a flag.
    std::vector<std::string> valueOptions;
    int (*run)(const CliArgs& args);
};

// The verb table, in the order --help lists it.
const std::vector<CliVerb>& CliVerbs();

// Parses argv after the verb. Returns false and prints to standard error on a malformed command line.
bool CliParse(const CliVerb& verb, int argc, char** argv, CliArgs& out);

// Exit status for a malformed command line.
constexpr int kCliUsageError = 64;

// Verb entry points; one source file each.
int CliCheck(const CliArgs& args);
int CliList(const CliArgs& args);
int CliConvert(const CliArgs& args);

class cmcEeprom;
class cmcTextTables;
// Opens a clone data file as `check` does (printing the file error's message and returning its code
// when that fails), then converts it into the working image with the initial data of the model type
// the data carries (loaded into defaults). The overlay tables are loaded from the program's folder.
cmcKvtFile::FileError CliOpenData(const std::string& path, cmcTextTables& tables, cmcEeprom& work,
                                  cmcEeprom& defaults);
int CliInfo(const CliArgs& args);
int CliRead(const CliArgs& args);
int CliWrite(const CliArgs& args);
// Cell verbs: a cell is written "CT_Category.CL_Cell[parameter]" as the overlay binds it.
int CliGet(const CliArgs& args);
int CliSet(const CliArgs& args);
int CliWarnings(const CliArgs& args);
// Row commands of a list sheet, as its pop-up menu runs them.
int CliRows(const CliArgs& args);
// The cell addressing and output formats, for --help.
const char* CliCellHelpText();
// Sheet verbs: every tree node's sheet, and one sheet shown as a text table.
int CliSheets(const CliArgs& args);
int CliSheet(const CliArgs& args);
// Spreadsheet exchange of a list sheet: export as CSV, import from CSV through the cells.
int CliExport(const CliArgs& args);
int CliImport(const CliArgs& args);
// Two clone data files compared as the sheets show them.
int CliDiff(const CliArgs& args);
// The cells of every sheet whose shown text holds a text.
int CliFind(const CliArgs& args);
