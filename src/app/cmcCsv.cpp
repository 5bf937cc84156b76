#include "app/cmcCsv.h"

#include "core/cmcAtomicFile.h"

#include <csv.h>
#include <fstream>
#include <sstream>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct Collector {
    std::vector<cmcCsv::Record>* records;
    cmcCsv::Record current;
};

void OnField(void* field, size_t length, void* data) {
    auto* c = static_cast<Collector*>(data);
    c->current.emplace_back(field ? static_cast<const char*>(field) : "", field ? length : 0);
}

void OnRecordEnd(int, void* data) {
    auto* c = static_cast<Collector*>(data);
    c->records->push_back(std::move(c->current));
    c->current.clear();
}

// Blanks around a field are data: a shown text may begin or end with them.
int NoSpace(unsigned char) {
    return 0;
}

} // namespace

std::string cmcCsv::Write(const Record& record) {
    std::string line;
    for (size_t i = 0; i < record.size(); ++i) {
        const std::string& f = record[i];
        const bool quote =
            f.find_first_of(",;\"\r\n") != std::string::npos ||
            (!f.empty() && (f.front() == ' ' || f.back() == ' ' || f.front() == '\t' || f.back() == '\t'));
        if (i > 0)
            line += ',';
        if (!quote) {
            line += f;
            continue;
        }
        line += '"';
        for (char ch : f) {
            if (ch == '"')
                line += '"';
            line += ch;
        }
        line += '"';
    }
    line += "\r\n";
    return line;
}

char cmcCsv::Separator(std::string_view text) {
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    int commas = 0, semicolons = 0;
    bool quoted = false;
    for (char ch : text) {
        if (ch == '"')
            quoted = !quoted;
        else if (!quoted && (ch == '\n' || ch == '\r'))
            break;
        else if (!quoted && ch == ',')
            ++commas;
        else if (!quoted && ch == ';')
            ++semicolons;
    }
    return semicolons > commas ? ';' : ',';
}

bool cmcCsv::Read(std::string_view text, std::vector<Record>& records, std::string& error) {
    const char separator = Separator(text);
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    records.clear();
    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_APPEND_NULL) != 0) {
        error = "out of memory";
        return false;
    }
    csv_set_delim(&parser, static_cast<unsigned char>(separator));
    csv_set_space_func(&parser, NoSpace);
    Collector collector{&records, {}};
    bool ok = csv_parse(&parser, text.data(), text.size(), OnField, OnRecordEnd, &collector) == text.size();
    if (ok)
        ok = csv_fini(&parser, OnField, OnRecordEnd, &collector) == 0;
    if (!ok) {
        // Count the records read so far to say where the fault is.
        error = std::string(csv_strerror(csv_error(&parser))) + " after record " +
                std::to_string(records.size()) +
                " (a quote that is not closed, or text after a closing quote)";
    }
    csv_free(&parser);
    return ok;
}

bool cmcCsv::WriteFile(const std::string& path, const std::vector<Record>& records) {
    std::string text;
    for (const Record& r : records)
        text += Write(r);
    cmcAtomicFile file(path);
    return file.Open() && file.Write(text.data(), text.size()) && file.Commit();
}

bool cmcCsv::ReadFile(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream all;
    all << file.rdbuf();
    text = all.str();
    return !file.bad();
}
