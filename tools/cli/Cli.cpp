#include "Cli.h"

#include <algorithm>
#include <cstdio>

std::string CliArgs::Get(const std::string& name, const std::string& fallback) const {
    auto it = options.find(name);
    return it == options.end() ? fallback : it->second;
}

std::vector<std::string> CliArgs::GetAll(const std::string& name) const {
    std::vector<std::string> values;
    for (const auto& [option, value] : given)
        if (option == name)
            values.push_back(value);
    return values;
}

const std::vector<CliVerb>& CliVerbs() {
    static const std::vector<CliVerb> verbs = {
        {"check",
         "FILE",
         "check a clone data file; prints OK or the file error, exit status = error code",
         {},
         CliCheck},
        {"list",
         "FILE",
         "list the channels in use and the sizes of the ID, talk group, status and repeater lists",
         {},
         CliList},
        {"convert",
         "IN OUT",
         "open a clone data file, convert it to the working image and back, save it as OUT",
         {},
         CliConvert},
        {"info",
         "--port DEV [--high|--low]",
         "show a radio's clone information; exit status = clone result code",
         {"--port", "--password"},
         CliInfo},
        {"read",
         "--port DEV -o FILE [--high|--low] [--password TEXT]",
         "read a radio into a clone data file; exit status = clone result code",
         {"--port", "--password"},
         CliRead},
        {"write",
         "--port DEV [--port DEV...] FILE [--yes] [--high|--low] [--password TEXT] [--backup DIR] "
         "[--verify] [--values VALUES.csv] [--log FILE]",
         "write a clone data file into a radio (asks unless --yes); --backup DIR first saves the radio's "
         "data in DIR (exit 24 when that fails), --verify reads it back after (exit 25 when it differs); "
         "exit status = clone result code. Several --port write the radios at once: a result line each "
         "(port, serial, firmware, code, result, backup), a row each appended to the audit log "
         "($XDG_DATA_HOME/Ostrel/fleet-log.csv, or --log FILE); --values gives each radio its own cell "
         "values by serial (header: serial,CELL,...; a refused value fails that radio with code 27); "
         "with several ports exit 0 when every radio succeeded, else 26",
         {"--port", "--password", "--backup", "--values", "--log"},
         CliWrite},
        {"get",
         "FILE [--bank B] CELL...",
         "print what cells show, one CELL=TEXT line each, with [warning] or [error] when marked; "
         "CELL[0-3] or CELL[0,2,5-7] prints one line per row",
         {"--bank"},
         CliGet},
        {"set",
         "FILE -o OUT [--yes] [--bank B] CELL=TEXT|CELL+|CELL-...",
         "edit cells as typed text, a list choice or a step, then save as OUT; CELL[0-15]=TEXT edits "
         "each row's cell; exit 1 when one was refused (the others are still set and saved)",
         {"--bank"},
         CliSet},
        {"rows",
         "FILE -o OUT [--yes] 'SHEET TEXT' CMD ROWS|'COLUMN HEADER'...",
         "run row commands on a list sheet (copy, paste, clear, insert, delete, up, down on ROWS; sort, "
         "sort-desc by a COLUMN HEADER), then save as OUT",
         {},
         CliRows},
        {"warnings",
         "FILE",
         "run the warning check of clone write; lists errors and warnings, exit 1 when there are errors",
         {},
         CliWarnings},
        {"sheets",
         "[--pmr]",
         "list the sheet of every tree node on the initial data: sheet text, rows, columns (TAB-separated)",
         {},
         CliSheets},
        {"sheet",
         "FILE 'SHEET TEXT'",
         "build one sheet on a file's data and print what its cells show, with [warning] or [error] marks",
         {},
         CliSheet},
        {"export",
         "FILE --sheet 'SHEET TEXT' -o OUT.csv",
         "write a list sheet (bank, ID, talk group, status or repeater list) as a CSV table, cells as shown",
         {"--sheet"},
         CliExport},
        {"import",
         "FILE --sheet 'SHEET TEXT' IN.csv -o OUT [--skip-refused] [--yes]",
         "type a CSV table into a list sheet's cells by header text, then save as OUT; exit 1 and nothing "
         "saved when a value was refused",
         {"--sheet"},
         CliImport},
        {"diff",
         "A.ocd B.ocd|--port DEV [--csv]",
         "compare two clone data files, or a file and the radio: cells that differ by sheet, row and "
         "column, then bytes no cell shows; exit 0 equal, 1 different, 2 trouble",
         {"--port", "--password"},
         CliDiff},
        {"find",
         "FILE TEXT [--whole] [--csv]",
         "find the cells of every sheet whose shown text holds TEXT (case aside; --whole: the whole "
         "cell), by sheet, row and column; exit 0 found, 1 none, 2 trouble",
         {},
         CliFind},
    };
    return verbs;
}

bool CliParse(const CliVerb& verb, int argc, char** argv, CliArgs& out) {
    for (int i = 0; i < argc; ++i) {
        std::string a = argv[i];
        if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            std::string value;
            size_t eq = a.find('=');
            std::string name = eq == std::string::npos ? a : a.substr(0, eq);
            bool takesValue = std::find(verb.valueOptions.begin(), verb.valueOptions.end(), name) !=
                              verb.valueOptions.end();
            if (eq != std::string::npos) {
                value = a.substr(eq + 1);
            } else if (takesValue) {
                if (i + 1 >= argc) {
                    std::fprintf(stderr, "ostrel-cli %s: %s needs a value\n", verb.name, name.c_str());
                    return false;
                }
                value = argv[++i];
            }
            out.options[name] = value;
            out.given.emplace_back(name, value);
        } else if (a == "-o") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "ostrel-cli %s: -o needs a file name\n", verb.name);
                return false;
            }
            out.options["-o"] = argv[++i];
        } else {
            out.positional.push_back(a);
        }
    }
    return true;
}
