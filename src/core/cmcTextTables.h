#pragma once
// The program's three overlay tables: the texts of the chosen language, the language index and the
// help texts, with the rules that choose and open their files.
#include "core/cmcGTex.h"

#include <string>
#include <string_view>

class cmcTextTables {
public:
    // The language index file is named after the model: "<ModelId>.OVL".
    static constexpr std::string_view kModelId = "ZV7104K";
    static constexpr int kMaxLanguages = 255;

    // The texts of the chosen language: every key except the two below. A key the chosen language's
    // file lacks reads the text of the first language of the index (the complete one).
    cmcGTex& Text() { return m_text; }
    // Serves only GI_Sys_Language: one line per language, "name TAB overlay file".
    cmcGTex& Languages() { return m_languages; }
    // Serves the help topic tables (GI_AppItem_Topic_ID, ..._Key_Assign_Topic_ID, ..._Context_ID).
    cmcGTex& Help() { return m_help; }

    // Opens the language index in appDir, then the text and help overlays of language. Returns the
    // language actually used: 0 when language is not one of the languages counted.
    int Load(const std::string& appDir, int language);
    // Reopens the text and help overlays for another language (the language index stays open).
    // Returns the language used, as Load does.
    int OpenLanguage(int language);

    // Languages listed in the index (up to its end mark, at most kMaxLanguages).
    int LanguageCount() { return m_languages.CountListLines("GI_Sys_Language", kMaxLanguages); }
    // The name the language choice shows for language index.
    std::string LanguageName(int index);

private:
    std::string AppPath(std::string_view name) const;

    std::string m_appDir;
    // Created in this order and destroyed in the reverse order; the base (the first language, open
    // only while another is chosen) outlives the table that falls back on it.
    cmcGTex m_base;
    cmcGTex m_text;
    cmcGTex m_languages;
    cmcGTex m_help;
};
