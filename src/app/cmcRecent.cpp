#include "app/cmcRecent.h"

#include "core/cmcText.h"

#include <algorithm>

// Paths name files on a case-sensitive file system: two paths that differ only in letter case are two
// different files, so entries compare exactly.
static bool SamePath(std::string_view a, std::string_view b) {
    return a == b;
}

static std::string_view WithoutTrailingSeparators(std::string_view folder) {
    while (!folder.empty() && folder.back() == '/')
        folder.remove_suffix(1);
    return folder;
}

cmcRecent::cmcRecent(int capacity) : m_capacity(std::max(capacity, 0)) {}

void cmcRecent::RemoveEqual(std::string_view path) {
    std::erase_if(m_entries, [&](const std::string& entry) { return SamePath(entry, path); });
}

void cmcRecent::Trim() {
    if (m_entries.size() > static_cast<size_t>(m_capacity))
        m_entries.resize(static_cast<size_t>(m_capacity));
}

// An empty path names no file: it would only fill a slot with a disabled menu item.
void cmcRecent::AddFront(std::string_view path) {
    if (path.empty())
        return;
    RemoveEqual(path);
    m_entries.insert(m_entries.begin(), std::string(path));
    Trim();
}

void cmcRecent::AddBack(std::string_view path) {
    if (path.empty())
        return;
    RemoveEqual(path);
    m_entries.emplace_back(path);
    Trim();
}

void cmcRecent::Remove(std::string_view path) {
    RemoveEqual(path);
}

std::string cmcRecent::DisplayText(int index, std::string_view folder) const {
    if (index < 0 || index >= Count())
        return {};
    const std::string& path = m_entries[static_cast<size_t>(index)];
    if (folder.empty())
        return path;
    size_t slash = path.rfind('/');
    std::string_view pathFolder =
        slash == std::string::npos ? std::string_view() : std::string_view(path).substr(0, slash);
    if (WithoutTrailingSeparators(pathFolder) == WithoutTrailingSeparators(folder))
        return path.substr(slash == std::string::npos ? 0 : slash + 1);
    return path;
}

std::string cmcRecent::MenuCaption(int index, std::string_view folder) const {
    std::string text = DisplayText(index, folder);
    if (text.empty())
        return {};
    return "&" + std::to_string(index + 1) + " " + cmcText::DoubleAmpersands(text);
}
