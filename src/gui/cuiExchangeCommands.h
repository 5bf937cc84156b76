#pragma once
// The spreadsheet exchange of the main window: File > Export writes the open list sheet as a CSV
// table, File > Import types a CSV table into it through its cells (one change of the data, taken
// over only when the technician accepts what was refused), File > Compare lists what differs between
// the data and a clone data file. All three read and type on a scratch copy of the data.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QPrinter;
class QWidget;
class indScratchData;
class iuiSheetTable;
class cmcEeprom;
class cmcEvMan;
class cmcGTex;
class cmcMessageBox;
class cuiMain;

class cuiExchangeCommands {
public:
    struct Services {
        cmcGTex* texts = nullptr;
        cmcGTex* languages = nullptr;
        cmcMessageBox* box = nullptr;
        cmcEvMan* events = nullptr; // status texts; null shows none
        // The CSV file dialog (save or open, with a suggested name); "" when cancelled.
        std::function<std::string(bool save, const std::string& name)> askTablePath;
        // The clone data file dialog of Compare; "" when cancelled.
        std::function<std::string()> askDataPath;
        // The data after an import, with the data before it: the window takes it over as one change
        // (one undo step) and shows it again.
        std::function<void(const cmcEeprom& before, const cmcEeprom& after)> takeImport;
        // Chooses the printer of a comparison; false when cancelled. Null: the print dialog.
        std::function<bool(QPrinter& printer)> choosePrinter;
    };

    cuiExchangeCommands(cuiMain& window, Services services);

    void Export();
    void Import();
    void Compare();
    // Reads the radio as Clone > Read does and compares the data with what it holds.
    void CompareRadio();

    // The menu reaches the three through one command cell, by its parameter.
    static constexpr int kCompare = 0;
    static constexpr int kExport = 1;
    static constexpr int kImport = 2;
    static constexpr int kCompareRadio = 3;
    void Run(int command);

    // Replaces the CSV file dialog (tests script it).
    void SetTableDialog(std::function<std::string(bool save, const std::string& name)> ask) {
        m_s.askTablePath = std::move(ask);
    }
    // The comparison window while it is open (tests read and close it); null otherwise.
    QWidget* ComparisonWindow() const { return m_comparison; }
    void SetPrinterChoice(std::function<bool(QPrinter& printer)> choose) {
        m_s.choosePrinter = std::move(choose);
    }
    // The open comparison as a CSV table (the table dialog gives the file) and on a printer.
    void ExportComparison();
    void PrintComparison(QPrinter& printer);

private:
    void Message(const std::string& text, bool error);
    void Status(const std::string& text);
    std::string Line(const char* key, int line);
    // The open list sheet as a table over data (a copy of the window's); null, with the message,
    // when the open sheet is no list.
    std::unique_ptr<iuiSheetTable> OpenListTable(indScratchData& data);
    // What differs between the window's data and other: sheet, row, column, this data, other.
    std::vector<std::vector<std::string>> ComparisonRows(indScratchData& other);
    // Shows the comparison with other (named name; otherColumn heads its column), or says they agree.
    void ShowComparison(indScratchData& other, const std::string& name, const std::string& otherColumn);

    cuiMain& m_window;
    Services m_s;
    QWidget* m_comparison = nullptr;
    std::string m_title;                          // the open comparison's caption
    std::vector<std::string> m_headers;           // its column headers
    std::vector<std::vector<std::string>> m_rows; // its rows
};
