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
    // File errors, returned by Save, Load and CheckCoverage; each has a message in the overlay. Their
    // numbers are the file error codes the command line shows as its exit status.
    enum class FileError : int {
        Ok = 0,
        Open = 1,     // cannot be opened for reading or writing
        Access = 2,   // a write failed
        Model = 3,    // model code not accepted
        Extra = 4,    // extra code not accepted
        MapRev = 5,   // map revision not accepted
        Format = 6,   // malformed header, address width or data line
        Coverage = 7, // required bytes missing
        Data = 8,     // bytes outside the image or the required ranges; owner's data check
        Newer = 9,    // data made for a newer data version
    };
    // The file error code of an error (0 to 9).
    static constexpr int Code(FileError error) { return static_cast<int>(error); }

    // Decides whether a file's map revision is acceptable.
    using MapRevCheck = std::function<bool(int32_t mapRev)>;
    // Decides whether a file's model and extra codes are acceptable; stores Model or Extra when it
    // refuses.
    using ModelCheck = std::function<bool(int32_t modelCode, int32_t extraCode, FileError& fileError)>;

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

    // Writes the ranges of the list (none: no data lines). Returns Ok, Open or Access. The target is
    // replaced only when the whole file has been written; on failure the old file stays as it was.
    FileError Save(const std::string& path, const cmcRange* ranges);
    // Reads the file into the image; with a range list, finishes with CheckCoverage. Returns Ok to
    // Data. On failure the image is left exactly as it was.
    FileError Load(const std::string& path, const cmcRange* ranges);
    // Compares the bytes the last Load supplied with the ranges of the list. Returns Ok, Coverage or
    // Data.
    FileError CheckCoverage(const cmcRange* ranges);

    // Overlay key of an error's message; null for Ok and for numbers outside 1 to 9.
    static const char* FileErrorKey(FileError error);
    // Headline, an empty line and the error's message, as the message box shows them; empty for Ok
    // and numbers outside 1 to 9.
    static std::string FileErrorText(FileError error, cmcGTex& tex);
    // Shows FileErrorText in a warning box captioned with the application title.
    static void ShowFileError(FileError error, cmcGTex& tex, cmcMessageBox& box);

private:
    FileError ReadFile(const std::string& path, const cmcRange* ranges);
    FileError ParseDataLine(const std::string& line, bool tooLong);
    void MarkRanges(const cmcRange* ranges, std::vector<uint8_t>& map) const;
    void Report(FileError error) const;

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
