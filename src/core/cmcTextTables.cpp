#include "core/cmcTextTables.h"

#include "core/cmcText.h"

#include <sys/stat.h>

std::string cmcTextTables::AppPath(std::string_view name) const {
    std::string path = m_appDir;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    return path;
}

int cmcTextTables::Load(const std::string& appDir, int language) {
    m_appDir = appDir;
    m_languages.OpenFile(AppPath(std::string(kModelId) + ".OVL"));
    return OpenLanguage(language);
}

int cmcTextTables::OpenLanguage(int language) {
    if (language < 0 || language >= LanguageCount())
        language = 0;
    // A language line without a file name leaves the folder itself as the name, which fails at the
    // first lookup with the key that was asked for.
    auto fileOf = [this](int index) {
        return cmcText::FieldOf(m_languages.GetLine("GI_Sys_Language", index), '\t', 1).value_or("");
    };
    const std::string file = fileOf(language);
    const std::string base = fileOf(0);
    m_text.OpenFile(AppPath(file));
    // Only a language file that is there falls back: a language line naming no file (or a missing
    // one) stays the configuration error it is.
    struct stat st {};
    const bool present = !file.empty() && ::stat(AppPath(file).c_str(), &st) == 0 && S_ISREG(st.st_mode);
    if (language != 0 && base != file && present) {
        m_base.OpenFile(AppPath(base));
        m_text.SetFallback(&m_base);
    } else {
        m_text.SetFallback(nullptr);
        m_base.OpenFile(std::string());
    }
    m_help.OpenFile(AppPath(m_text.GetText("GI_Sys_MyHelpOvl")));
    return language;
}

std::string cmcTextTables::LanguageName(int index) {
    return cmcText::FieldOf(m_languages.GetLine("GI_Sys_Language", index), '\t', 0).value_or("");
}
