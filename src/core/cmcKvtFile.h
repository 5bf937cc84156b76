#pragma once
// Clone data file (.ocd): writes a radio memory image as a header line, three "#" key lines and
// hexadecimal data lines, and reads one back, strictly checked against model, map revision and ranges.
#include "core/cmcRange.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class cmcEeprom;
class cmcGTex;
class cmcMessageBox;

class cmcKvtFile {
public:
    // File error codes, returned by Save, Load and CheckCoverage; each has a message in the overlay.
    enum FileError : int {
        kFileOk = 0,
        kFileErrOpen = 1,     // cannot be opened for reading or writing
        kFileErrAccess = 2,   // a write failed
        kFileErrModel = 3,    // model code not accepted
        kFileErrExtra = 4,    // extra code not accepted
        kFileErrMapRev = 5,   // map revision not accepted
        kFileErrFormat = 6,   // malformed header, address width or data line
        kFileErrCoverage = 7, // required bytes missing
        kFileErrData = 8,     // bytes outside the image or the required ranges; owner's data check
        kFileErrNewer = 9,    // data made for a newer data version
    };

    // Decides whether a file's map revision is acceptable.
    using MapRevCheck = std::function<bool(int32_t mapRev)>;
    // Decides whether a file's model and extra codes are acceptable; stores 3 or 4 when it refuses.
    using ModelCheck = std::function<bool(int32_t modelCode, int32_t extraCode, int& fileError)>;

    // Binds the image (not owned); every address of it becomes required. Null does nothing.
    void Attach(cmcEeprom* image);

    void SetModelCode(int32_t code) { m_modelCode = code; }
    void SetExtraCode(int32_t code) { m_extraCode = code; }
    void SetComment(const std::string& comment) { m_comment = comment; }
    void SetMapRev(int32_t mapRev) { m_mapRev = mapRev; }
    void SetAdrBit(int32_t adrBit) { m_adrBit = adrBit; }
    void SetMapRevCheck(MapRevCheck check) { m_mapRevCheck = std::move(check); }
    void SetModelCheck(ModelCheck check) { m_modelCheck = std::move(check); }
    // Where Save and Load show their failures (ShowFileError). Unset, they show nothing and the caller
    // reports the code itself, as the command line does.
    void SetReporter(cmcGTex* tex, cmcMessageBox* box) {
        m_tex = tex;
        m_box = box;
    }

    int32_t GetMapRev() const { return m_mapRev; }
    int32_t GetAdrBit() const { return m_adrBit; }

    // Writes the ranges of the list (none: no data lines). Returns 0, 1 or 2. The target is replaced
    // only when the whole file has been written; on failure the old file stays as it was.
    int Save(const std::string& path, const cmcRange* ranges);
    // Reads the file into the image; with a range list, finishes with CheckCoverage. Returns 0 to 8.
    // On failure the image is left exactly as it was.
    int Load(const std::string& path, const cmcRange* ranges);
    // Compares the bytes the last Load supplied with the ranges of the list. Returns 0, 7 or 8.
    int CheckCoverage(const cmcRange* ranges);

    // Overlay key of a code's message; null for 0 and for codes outside 1 to 9.
    static const char* FileErrorKey(int code);
    // Headline, an empty line and the code's message, as the message box shows them; empty for 0 and
    // codes outside 1 to 9.
    static std::string FileErrorText(int code, cmcGTex& tex);
    // Shows FileErrorText in a warning box captioned with the application title.
    static void ShowFileError(int code, cmcGTex& tex, cmcMessageBox& box);

private:
    int ReadFile(const std::string& path, const cmcRange* ranges);
    int ParseDataLine(const std::string& line, bool tooLong);
    void MarkRanges(const cmcRange* ranges, std::vector<uint8_t>& map) const;
    void Report(int code) const;

    cmcEeprom* m_image = nullptr;
    int32_t m_modelCode = 0;
    int32_t m_extraCode = 0;
    std::string m_comment;
    int32_t m_bytesPerLine = 16;
    int32_t m_mapRev = -1;
    int32_t m_adrBit = 16;
    int32_t m_firstAddress = 0;
    int32_t m_lastAddress = 0;
    std::vector<uint8_t> m_requiredMap; // bit (a % 8) of byte (a / 8): bytes the file must supply
    std::vector<uint8_t> m_loadedMap;   // the same for bytes the file did supply
    MapRevCheck m_mapRevCheck;
    ModelCheck m_modelCheck;
    cmcGTex* m_tex = nullptr;
    cmcMessageBox* m_box = nullptr;
};
