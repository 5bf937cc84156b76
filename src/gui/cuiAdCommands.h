#pragma once
// The A/D commands of the desktop program: A/D read puts the radio into its adjustment state (behind
// the adjust-read lock and the adjustment caution, after a clone read unless factory adjust mode is
// on), and the A/D values are read from the radio in that state for the A/D window.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QWidget;
class cmcEvMan;
class cmcGTex;
class cmcMessageBox;
class cuiCloneCommands;
class indEnviron;

class cuiAdCommands {
public:
    static constexpr int kChannels = 8;     // A/D channels the window lists
    static constexpr int kInfoAttempts = 5; // the information after the clone read: once and 4 retries
    static constexpr size_t kMaxPassword = 8;

    struct Services {
        cuiCloneCommands* clone = nullptr;
        indEnviron* env = nullptr;
        cmcGTex* tex = nullptr;
        cmcMessageBox* box = nullptr;
        cmcEvMan* events = nullptr; // null: no events are sent
        QWidget* window = nullptr;  // parent of the password dialog
        // The adjust-read password dialog: true with the text when confirmed. Unset: the Qt dialog.
        std::function<bool(std::string& password)> askPassword;
        std::function<bool()> factoryMode;
        // Runs the clone read that replaces the data; then() runs once the radio's data is taken over.
        // False when it could not start.
        std::function<bool(std::function<void()> then)> cloneRead;
        // The radio is in its adjustment state: the adjustment branches of the tree appear; after a
        // clone read the open sheet closes as well.
        std::function<void(bool afterRead)> adjustStarted;
    };

    enum class Outcome {
        Started,   // the radio is being put into its adjustment state
        Locked,    // the adjust-read lock stayed closed
        Cancelled, // the caution was cancelled
        Busy,      // a clone or model operation runs, or the clone read did not start
    };

    explicit cuiAdCommands(const Services& services);

    Outcome Read();
    // The lock is open: no AdjustMode setting, or its password was given in this session.
    bool Unlocked() const;
    // The adjustment start command was answered in this session.
    bool Adjusting() const { return m_adjusting; }
    // Reads the A/D values of all channels; done(status) runs whatever the outcome (0 success).
    // False when the radio is not in its adjustment state or a clone runs.
    bool ReadValues(std::function<void(int32_t status)> done);
    // The last values read; empty before a successful reading.
    const std::array<std::optional<uint8_t>, kChannels>& Values() const { return m_values; }

private:
    bool OpenLock();
    bool AskPassword(std::string& password);
    void InfoAttempt(int attempt);
    void StartAdjustment(bool afterRead);
    void Error(const char* key);
    std::string Title() const;

    Services m_s;
    bool m_unlocked = false;
    bool m_adjusting = false;
    std::array<uint8_t, kChannels> m_read{};
    std::array<uint8_t, kChannels> m_channelNumbers{};
    std::array<std::optional<uint8_t>, kChannels> m_values{};
};
