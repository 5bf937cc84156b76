#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

FatalCatcher::FatalCatcher()
    : m_previous(
          cmcSetFatalHandler([](const std::string& text, const std::string&) { throw FatalError(text); })) {}

FatalCatcher::~FatalCatcher() {
    cmcSetFatalHandler(std::move(m_previous));
}

cmcMessageBox::Answer ScriptedMessageBox::Show(const std::string& text, const std::string& caption, Icon icon,
                                               Buttons buttons) {
    shown.push_back({text, caption, icon, buttons});
    if (!answers.empty()) {
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
}

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "ostrel-test-XXXXXX").string();
    char* made = mkdtemp(tmpl.data());
    if (!made)
        throw std::runtime_error("cannot create a temporary folder");
    m_path = made;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Folders made read-only by a test must become writable again to be removed.
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFileText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}
