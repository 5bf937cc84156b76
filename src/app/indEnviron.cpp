#include "app/indEnviron.h"

#include "app/cmcInstanceLock.h"
#include "core/cmcSettingsStore.h"
#include "core/cmcText.h"

#include <algorithm>
#include <optional>

namespace {

constexpr const char* kGlobal = "Global";
constexpr const char* kRecentList = "Recent File List";
constexpr const char* kViewOption = "View Option";
constexpr const char* kWindowPosition = "Window Position";
constexpr const char* kSetup = "Setup";
constexpr const char* kPassword = "Password";
constexpr const char* kEditFormPosition = "EditForm Position";
constexpr const char* kTypedDevices = "Typed Devices";

std::string RecentName(int index) {
    return "Recent" + std::to_string(index);
}

std::string TypedDeviceName(int index) {
    return "Device" + std::to_string(index);
}

std::string WindowValueName(std::string_view window, const char* what) {
    return std::string(window) + "_" + what;
}

// Stored passwords are hexadecimal text, two digits per character; "00" stands for an empty text,
// and decoding ends at a zero character as it always has.
std::string DecodePassword(const std::string& stored) {
    std::string text = cmcText::HexToChars(stored);
    size_t zero = text.find('\0');
    if (zero != std::string::npos)
        text.resize(zero);
    return text;
}

std::string EncodePassword(const std::string& text) {
    return text.empty() ? std::string("00") : cmcText::BytesToHex(std::string_view(text));
}

} // namespace

indEnviron::indEnviron(cmcSettingsStore& store, std::unique_ptr<cmcInstanceLock> lock, int screenWidth,
                       int screenHeight)
    : m_store(store), m_lock(std::move(lock)), m_screenWidth(std::max(screenWidth, 0)),
      m_screenHeight(std::max(screenHeight, 0)) {
    m_instanceOwner = m_lock == nullptr || m_lock->TryLock();
    if (m_instanceOwner) {
        if (!Load() || signature != kSignature)
            ApplyDefaults();
    }
    mchDockPending = floatingCheck == 0 ? 1 : 0;
    mchFirstShown = 0;
    mchClosing = 0;
}

indEnviron::~indEnviron() {
    if (m_instanceOwner && signature == kSignature)
        Save();
    m_lock.reset();
}

void indEnviron::ApplyDefaults() {
    signature = kSignature;
    comPort = 1;
    comSpeedHigh = 1;
    comDevice.clear();
    typedDevices.clear();
    currentDirectory.clear();
    mchViewOn = 0;
    dockFloatCheck = 0;
    alignCheck = 0;
    floatingCheck = 0;
    recent.Clear();
    fontSizePercentage = 100;
    toolbarVisible = 1;
    printerFontSize = 10;
    // A window of 90 % of the screen, at most 800 x 600, centred across and 30 % down the free height.
    windowWidth = std::min(m_screenWidth * 9 / 10, 800);
    windowHeight = std::min(m_screenHeight * 9 / 10, 600);
    windowLeft = (m_screenWidth - windowWidth) / 2;
    windowTop = (m_screenHeight - windowHeight) * 3 / 10;
    splitterPosition = 200;
    modelType = 1;
    language = 0;
    makerKeys = kDefaultMakerKeys;
    adjustPassword.clear();
    backupBeforeWrite = 1;
}

// Reads every value in order and stops at the first one that is missing or of the wrong type; the
// caller then gives every setting its default, so a damaged store never yields a half-loaded mix.
bool indEnviron::Load() {
    auto readInt = [&](const char* group, const std::string& name, int32_t& target) {
        std::optional<int32_t> value = m_store.ReadInt(group, name);
        if (value)
            target = *value;
        return value.has_value();
    };
    auto readText = [&](const char* group, const std::string& name, std::string& target) {
        std::optional<std::string> value = m_store.ReadText(group, name);
        if (value)
            target = std::move(*value);
        return value.has_value();
    };

    if (!readInt(kGlobal, "BBT", signature) || !readInt(kGlobal, "ComPort", comPort))
        return false;
    comPort = std::clamp(comPort, 1, 256);
    if (!readInt(kGlobal, "ComSpeedHigh", comSpeedHigh))
        return false;
    comSpeedHigh = comSpeedHigh > 0 ? 1 : 0;
    if (!readText(kGlobal, "Current Directory", currentDirectory) ||
        !readInt(kGlobal, "MCH View", mchViewOn) || !readInt(kGlobal, "DockFloatCheck", dockFloatCheck) ||
        !readInt(kGlobal, "AlignCheck", alignCheck) || !readInt(kGlobal, "FloatingCheck", floatingCheck))
        return false;

    recent.Clear();
    for (int i = 0; i < recent.Capacity(); ++i) {
        std::string path;
        if (!readText(kRecentList, RecentName(i), path))
            return false;
        recent.AddBack(path);
    }

    if (!readInt(kViewOption, "FontSize Percentage", fontSizePercentage))
        return false;
    fontSizePercentage = std::clamp(fontSizePercentage, 25, 1000);
    if (!readInt(kViewOption, "Toolbar Visible", toolbarVisible))
        return false;
    toolbarVisible = toolbarVisible != 0 ? 1 : 0;
    if (!readInt(kViewOption, "FontSize Printer", printerFontSize))
        return false;
    printerFontSize = std::clamp(printerFontSize, 8, 12);

    if (!readInt(kWindowPosition, "Left", windowLeft) || !readInt(kWindowPosition, "Top", windowTop) ||
        !readInt(kWindowPosition, "Width", windowWidth) ||
        !readInt(kWindowPosition, "Height", windowHeight) ||
        !readInt(kWindowPosition, "SplitterV", splitterPosition))
        return false;
    if (!readInt(kSetup, "ModelType", modelType) || !readInt(kSetup, "Language", language))
        return false;

    std::string maker, adjust;
    if (!readText(kPassword, "MakerReserveMode", maker) || !readText(kPassword, "AdjustMode", adjust))
        return false;
    makerKeys = maker.empty() ? std::string(kDefaultMakerKeys) : DecodePassword(maker);
    adjustPassword = DecodePassword(adjust);

    // The device path of a high port number came later than the other values: a store without it
    // keeps the rest.
    if (!readText(kGlobal, "ComDevice", comDevice))
        comDevice.clear();
    // Typed device paths are choices only: a store without them keeps the rest too.
    typedDevices.clear();
    for (int i = 0; i < kTypedDeviceCapacity; ++i) {
        std::optional<std::string> path = m_store.ReadText(kTypedDevices, TypedDeviceName(i));
        if (path && !path->empty() &&
            std::find(typedDevices.begin(), typedDevices.end(), *path) == typedDevices.end())
            typedDevices.push_back(*path);
    }
    // So did the backup before clone write: a store without it backs up.
    int32_t backup = 1;
    readInt(kSetup, "BackupBeforeWrite", backup);
    backupBeforeWrite = backup != 0 ? 1 : 0;
    return true;
}

void indEnviron::AddTypedDevice(const std::string& path) {
    if (path.empty())
        return;
    typedDevices.erase(std::remove(typedDevices.begin(), typedDevices.end(), path), typedDevices.end());
    typedDevices.insert(typedDevices.begin(), path);
    if (typedDevices.size() > static_cast<size_t>(kTypedDeviceCapacity))
        typedDevices.resize(kTypedDeviceCapacity);
}

// A failed write is ignored: the session is ending and there is nobody left to tell.
void indEnviron::Save() {
    m_store.WriteInt(kGlobal, "BBT", signature);
    m_store.WriteInt(kGlobal, "ComPort", comPort);
    m_store.WriteInt(kGlobal, "ComSpeedHigh", comSpeedHigh);
    m_store.WriteText(kGlobal, "Current Directory", currentDirectory);
    m_store.WriteInt(kGlobal, "MCH View", mchViewOn);
    m_store.WriteInt(kGlobal, "DockFloatCheck", dockFloatCheck);
    m_store.WriteInt(kGlobal, "AlignCheck", alignCheck);
    m_store.WriteInt(kGlobal, "FloatingCheck", floatingCheck);
    m_store.WriteText(kGlobal, "ComDevice", comDevice);
    // Only the typed paths there are now: none left over from a longer list.
    m_store.RemoveGroup(kTypedDevices);
    for (size_t i = 0; i < typedDevices.size() && i < static_cast<size_t>(kTypedDeviceCapacity); ++i)
        m_store.WriteText(kTypedDevices, TypedDeviceName(static_cast<int>(i)), typedDevices[i]);
    for (int i = 0; i < recent.Capacity(); ++i)
        m_store.WriteText(kRecentList, RecentName(i), recent.DisplayText(i, {}));
    m_store.WriteInt(kViewOption, "FontSize Percentage", fontSizePercentage);
    m_store.WriteInt(kViewOption, "Toolbar Visible", toolbarVisible);
    m_store.WriteInt(kViewOption, "FontSize Printer", printerFontSize);
    m_store.WriteInt(kWindowPosition, "Left", windowLeft);
    m_store.WriteInt(kWindowPosition, "Top", windowTop);
    m_store.WriteInt(kWindowPosition, "Width", windowWidth);
    m_store.WriteInt(kWindowPosition, "Height", windowHeight);
    m_store.WriteInt(kWindowPosition, "SplitterV", splitterPosition);
    m_store.WriteInt(kSetup, "ModelType", modelType);
    m_store.WriteInt(kSetup, "BackupBeforeWrite", backupBeforeWrite);
    for (const indWinPos& entry : m_windowPositions) {
        m_store.WriteInt(kEditFormPosition, WindowValueName(entry.name, "Left"), entry.left);
        m_store.WriteInt(kEditFormPosition, WindowValueName(entry.name, "Top"), entry.top);
        m_store.WriteInt(kEditFormPosition, WindowValueName(entry.name, "Width"), entry.width);
        m_store.WriteInt(kEditFormPosition, WindowValueName(entry.name, "Height"), entry.height);
        m_store.WriteInt(kEditFormPosition, WindowValueName(entry.name, "WindowState"), entry.windowState);
    }
    m_store.WriteInt(kSetup, "Language", language);
    m_store.WriteText(kPassword, "MakerReserveMode", EncodePassword(makerKeys));
    m_store.WriteText(kPassword, "AdjustMode", EncodePassword(adjustPassword));
    m_store.Sync();
}

bool indEnviron::LoadWindowPosition(std::string_view name, indWinPos& entry) const {
    int32_t* targets[] = {&entry.left, &entry.top, &entry.width, &entry.height, &entry.windowState};
    const char* names[] = {"Left", "Top", "Width", "Height", "WindowState"};
    for (size_t i = 0; i < std::size(targets); ++i) {
        std::optional<int32_t> value = m_store.ReadInt(kEditFormPosition, WindowValueName(name, names[i]));
        if (!value)
            return false;
        *targets[i] = *value;
    }
    return true;
}

indWinPos* indEnviron::FindWindowPosition(std::string_view name) {
    for (indWinPos& entry : m_windowPositions) {
        if (entry.name == name)
            return &entry;
    }
    if (!m_instanceOwner || signature != kSignature)
        return nullptr;
    indWinPos loaded;
    loaded.name = std::string(name);
    if (!LoadWindowPosition(name, loaded))
        return nullptr;
    m_windowPositions.push_front(std::move(loaded));
    return &m_windowPositions.front();
}

indWinPos& indEnviron::SetWindowPosition(std::string_view name, int32_t left, int32_t top, int32_t width,
                                         int32_t height, int32_t extra0, int32_t extra1, int32_t extra2,
                                         int32_t extra3, int32_t windowState, int32_t open) {
    auto it = std::find_if(m_windowPositions.begin(), m_windowPositions.end(),
                           [&](const indWinPos& entry) { return entry.name == name; });
    if (it == m_windowPositions.end()) {
        m_windowPositions.push_front(indWinPos{});
        m_windowPositions.front().name = std::string(name);
    } else {
        m_windowPositions.splice(m_windowPositions.begin(), m_windowPositions, it);
    }
    indWinPos& entry = m_windowPositions.front();
    entry.left = left;
    entry.top = top;
    entry.width = width;
    entry.height = height;
    entry.extra = {extra0, extra1, extra2, extra3};
    entry.windowState = windowState;
    entry.open = open;
    return entry;
}
