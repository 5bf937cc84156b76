#pragma once
// The environment object: every persistent user setting of the application, read once from the
// settings store when the process starts and written back once when it ends, and the single-instance
// rule. Other parts read and change its members directly during the session.
#include "app/cmcRecent.h"
#include "app/indWinPos.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class cmcInstanceLock;
class cmcSettingsStore;

class indEnviron {
public:
    // Name of the single-instance lock.
    static constexpr const char* kLockName = "Zorv Ostrel APP Exclusive Mutex";
    // Marks stored settings as valid.
    static constexpr int32_t kSignature = 753951;
    static constexpr int kRecentCapacity = 10;
    // Device paths typed in the port dialog that stay offered as choices, newest first.
    static constexpr int kTypedDeviceCapacity = 5;
    // Built-in maker key sequence, used while the store holds none.
    static constexpr const char* kDefaultMakerKeys = "ostrelmaker";

    // Takes the instance lock (a null lock means no single-instance rule) and, when this process is
    // the instance owner, loads the settings from store. The screen size gives the default window
    // bounds. The store must outlive the object.
    indEnviron(cmcSettingsStore& store, std::unique_ptr<cmcInstanceLock> lock, int screenWidth,
               int screenHeight);
    // Writes the settings back (instance owner with valid settings only), then releases the lock.
    ~indEnviron();
    indEnviron(const indEnviron&) = delete;
    indEnviron& operator=(const indEnviron&) = delete;

    // False for a second process: it must end at once; nothing is read or written for it.
    bool IsInstanceOwner() const { return m_instanceOwner; }

    // The entry of a secondary window; loaded from the store on first use when the settings are valid.
    // None when no placement is known. Entries stay valid for the object's lifetime.
    indWinPos* FindWindowPosition(std::string_view name);
    // Stores a window's placement, making its entry the most recent one.
    indWinPos& SetWindowPosition(std::string_view name, int32_t left, int32_t top, int32_t width,
                                 int32_t height, int32_t extra0, int32_t extra1, int32_t extra2,
                                 int32_t extra3, int32_t windowState, int32_t open);
    const std::list<indWinPos>& WindowPositions() const { return m_windowPositions; }

    // The store, for the parts that keep their own values in it (the sheets' column widths).
    cmcSettingsStore& Store() { return m_store; }

    // Settings of the session, read and written directly.
    cmcRecent recent{kRecentCapacity};
    int32_t signature = 0;
    int32_t fontSizePercentage = 0;
    int32_t toolbarVisible = 0;
    int32_t printerFontSize = 0;
    int32_t comPort = 0;
    int32_t comSpeedHigh = 1;
    std::string comDevice;                 // device path of a port number above 4
    std::vector<std::string> typedDevices; // device paths typed in the port dialog, newest first
    std::string sessionClonePassword;      // typed in this session; never stored
    int32_t backupBeforeWrite = 1; // clone write first saves the radio's present data (indBackupStore)
    std::string currentDirectory;
    int32_t windowLeft = 0;
    int32_t windowTop = 0;
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    int32_t splitterPosition = 0;
    int32_t floatingCheck = 0;
    int32_t alignCheck = 0; // docking side of the memory channel window: 1 to 4, 0 none
    int32_t modelType = 0;  // 0 LMR, 1 PMR
    int32_t language = 0;
    int32_t dockFloatCheck = 0;
    std::string makerKeys;
    std::string adjustPassword;

    // Memory channel window state; only the view flag is stored.
    int32_t mchViewOn = 0;
    int32_t mchWindowOpened = 0;
    int32_t currentSheetIsChBank = 0;
    int32_t sheetHostActive = 0;
    int32_t mchFirstShown = 0;
    int32_t mchDockPending = 0;
    int32_t mchClosing = 0;

    // Puts a typed device path first among the typed choices, dropping the oldest beyond capacity.
    void AddTypedDevice(const std::string& path);

private:
    bool Load();
    void ApplyDefaults();
    void Save();
    bool LoadWindowPosition(std::string_view name, indWinPos& entry) const;

    cmcSettingsStore& m_store;
    std::unique_ptr<cmcInstanceLock> m_lock;
    int m_screenWidth;
    int m_screenHeight;
    bool m_instanceOwner = false;
    std::list<indWinPos> m_windowPositions; // most recently used first
};
