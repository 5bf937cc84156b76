#include "gui/cuiExchangeCommands.h"

#include "app/cmcCsv.h"
#include "app/indCompare.h"
#include "app/indScratchData.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcGTex.h"
#include "core/cmcMessageBox.h"
#include "gui/cuiMain.h"
#include "sheets/iuiSheetTable.h"
#include "sheets/iuiTableImport.h"
#include "sheets/iuiTreeSheets.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// An overlay text with %1, %2... filled in by hand: a format that names more values than given keeps
// the rest as written.
std::string Fill(std::string format, const std::vector<std::string>& values) {
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] >= '1' && format[i + 1] <= '9') {
            const size_t n = size_t(format[i + 1] - '1');
            if (n < values.size()) {
                out += values[n];
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

std::string FileName(const std::string& path) {
    return QFileInfo(Q(path)).fileName().toStdString();
}

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n')
            c = ' ';
    return text;
}

// The scratch copy's sheets never reach the window's events (channel window, sheet title).
cuiSheetEnv QuietEnv(indScratchData& data) {
    cuiSheetEnv env = data.Side().env;
    env.makerMode = false;
    env.events = nullptr;
    return env;
}

} // namespace

cuiExchangeCommands::cuiExchangeCommands(cuiMain& window, Services services)
    : m_window(window), m_s(std::move(services)) {
    if (!m_s.askTablePath)
        m_s.askTablePath = [this](bool save, const std::string& name) {
            QStringList parts = Q(m_s.texts->GetLine("GI_Sys_Dialog_Csv", 1)).split(QLatin1Char('|'));
            QStringList filters;
            for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
                filters << parts[i];
            const QString filter = filters.join(QStringLiteral(";;"));
            QString path = save ? QFileDialog::getSaveFileName(&m_window, QString(), Q(name), filter)
                                : QFileDialog::getOpenFileName(&m_window, QString(), Q(name), filter);
            if (save && !path.isEmpty() && QFileInfo(path).suffix().isEmpty())
                path += QLatin1Char('.') + Q(m_s.texts->GetLine("GI_Sys_Dialog_Csv", 0));
            return path.toStdString();
        };
}

std::string cuiExchangeCommands::Line(const char* key, int line) {
    return m_s.texts->GetLine(key, line);
}

void cuiExchangeCommands::Message(const std::string& text, bool error) {
    m_s.box->Show(text, m_s.texts->GetLine("GI_Sys_AppTitle", 0),
                  error ? cmcMessageBox::Icon::Error : cmcMessageBox::Icon::Information,
                  cmcMessageBox::Buttons::Ok);
}

void cuiExchangeCommands::Status(const std::string& text) {
    if (m_s.events)
        m_s.events->SendText(cmcEv::StatusText, text);
}

void cuiExchangeCommands::Run(int command) {
    if (command == kExport)
        Export();
    else if (command == kImport)
        Import();
    else if (command == kCompare)
        Compare();
}

void cuiExchangeCommands::Export() {
    m_window.CommitEdits();
    const std::string sheet = m_window.OpenSheetText();
    indScratchData data(*m_s.texts, m_s.languages);
    data.SetWorking(m_window.Current(), m_window.ModelType());
    std::unique_ptr<iuiSheetTable> table;
    if (!sheet.empty())
        table = std::make_unique<iuiSheetTable>(QuietEnv(data), data.Handler(), data.Codecs(), sheet);
    if (!table || table->Sheet().FixedRows() <= 0 || table->ColumnCount() == 0) {
        Message(m_s.texts->GetJoinedText("GI_AppMess_Exchange_NoList"), true);
        return;
    }
    const std::string path = m_s.askTablePath(true, std::string());
    if (path.empty())
        return;
    const auto records = table->Records();
    if (!cmcCsv::WriteFile(path, records)) {
        Message(Fill(m_s.texts->GetJoinedText("GI_AppMess_Exchange_WriteFail"), {path}), true);
        return;
    }
    Status(Fill(Line("GI_AppMess_Exchange_Done", 0), {std::to_string(records.size() - 1), FileName(path)}));
}

void cuiExchangeCommands::Import() {
    m_window.CommitEdits();
    const std::string sheet = m_window.OpenSheetText();
    // Cells that ask (a frequency outside the band, say) ask the technician here too.
    indScratchData data(*m_s.texts, m_s.languages, m_s.box);
    data.SetWorking(m_window.Current(), m_window.ModelType());
    std::unique_ptr<iuiSheetTable> table;
    if (!sheet.empty())
        table = std::make_unique<iuiSheetTable>(QuietEnv(data), data.Handler(), data.Codecs(), sheet);
    if (!table || table->Sheet().FixedRows() <= 0 || table->ColumnCount() == 0) {
        Message(m_s.texts->GetJoinedText("GI_AppMess_Exchange_NoList"), true);
        return;
    }
    const std::string path = m_s.askTablePath(false, std::string());
    if (path.empty())
        return;
    std::string text, error;
    std::vector<cmcCsv::Record> records;
    if (!cmcCsv::ReadFile(path, text)) {
        Message(Fill(m_s.texts->GetJoinedText("GI_AppMess_Exchange_ReadFail"), {path, ""}), true);
        return;
    }
    if (!cmcCsv::Read(text, records, error)) {
        Message(Fill(m_s.texts->GetJoinedText("GI_AppMess_Exchange_ReadFail"), {path, error}), true);
        return;
    }
    const iuiTableImport::Result result = iuiTableImport::Run(*table, data.Work(), records);
    if (result.fault != iuiTableImport::HeaderFault::None) {
        Message(Fill(Line("GI_AppMess_Exchange_Header", int(result.fault) - 1), {result.faultHeader}), true);
        return;
    }
    if (!result.refusals.empty()) {
        using Kind = iuiTableImport::RefusalKind;
        std::string lines;
        constexpr size_t kShown = 20;
        for (size_t i = 0; i < result.refusals.size() && i < kShown; ++i) {
            const iuiTableImport::Refusal& r = result.refusals[i];
            int line = 0;
            std::string detail = OneLine(r.shown);
            switch (r.kind) {
            case Kind::Cell:
                line = r.reason.empty() ? 0 : 1;
                detail = r.reason.empty() ? detail : r.reason;
                break;
            case Kind::FirstCell:
                line = 2;
                detail = r.firstCell;
                break;
            case Kind::FixedText:
                line = 3;
                break;
            case Kind::ExtraFields:
                line = 4;
                break;
            case Kind::NoRow:
                line = 5;
                detail = std::to_string(r.rows);
                break;
            }
            lines += Fill(Line("GI_AppMess_Exchange_Refusal", line),
                          {std::to_string(r.row), r.header, OneLine(r.text), detail}) +
                     "\n";
        }
        if (result.refusals.size() > kShown)
            lines += "...\n";
        const std::vector<std::string> values = {std::to_string(result.refusals.size()), lines};
        if (!result.changed) {
            Message(Fill(m_s.texts->GetJoinedText("GI_AppMess_Exchange_AllRefused"), values), true);
            return;
        }
        const std::string question = Fill(m_s.texts->GetJoinedText("GI_AppMess_Exchange_Refused"), values);
        if (m_s.box->Show(question, m_s.texts->GetLine("GI_Sys_AppTitle", 0), cmcMessageBox::Icon::Warning,
                          cmcMessageBox::Buttons::OkCancel) != cmcMessageBox::Answer::Ok)
            return;
    }
    if (result.changed && m_s.takeImport)
        m_s.takeImport(m_window.Current(), data.Work());
    Status(Fill(Line("GI_AppMess_Exchange_Done", 1), {std::to_string(result.typedRows), FileName(path)}));
}

void cuiExchangeCommands::Compare() {
    m_window.CommitEdits();
    const std::string path = m_s.askDataPath ? m_s.askDataPath() : std::string();
    if (path.empty())
        return;
    indScratchData a(*m_s.texts, m_s.languages), b(*m_s.texts, m_s.languages);
    a.SetWorking(m_window.Current(), m_window.ModelType());
    if (const cmcKvtFile::FileError code = b.OpenFile(path); code != cmcKvtFile::FileError::Ok) {
        cmcKvtFile::ShowFileError(code, *m_s.texts, *m_s.box);
        return;
    }
    indCompare::Side sideA = a.Side(), sideB = b.Side();
    const auto sheets = indCompare::Sheets(sideA, sideB);
    const auto cells = indCompare::Cells(sideA, sideB, sheets);
    const auto ranges = indCompare::Ranges(a.Packed(), b.Packed());
    const auto unshown = indCompare::Unshown(sideA, a.Packed(), b.Packed(), a.Model(), ranges, sheets);
    if (cells.empty() && ranges.empty()) {
        Message(Fill(m_s.texts->GetJoinedText("GI_AppMess_Compare_Same"), {FileName(path)}), false);
        return;
    }

    // Sheets by the names the tree gives them.
    std::map<std::string, std::string> captions;
    for (indScratchData* data : {&a, &b})
        for (const iuiTreeSheets::Node& node :
             iuiTreeSheets::Nodes(*m_s.texts, data->Work().Data(), {data->ModelType(), true, true}))
            if (!node.sheetText.empty() && !captions.count(node.sheetText))
                captions[node.sheetText] = node.caption;

    QDialog dialog(&m_window);
    dialog.setWindowTitle(Q(Fill(Line("GI_AppInd_Compare", 0), {FileName(path)})));
    auto* layout = new QVBoxLayout(&dialog);
    auto* grid = new QTableWidget(int(cells.size() + unshown.size()), 5, &dialog);
    grid->setObjectName(QStringLiteral("comparison"));
    QStringList headers;
    for (int i = 1; i <= 5; ++i)
        headers << Q(Line("GI_AppInd_Compare", i));
    grid->setHorizontalHeaderLabels(headers);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    int row = 0;
    auto put = [&](const std::vector<std::string>& texts) {
        for (int c = 0; c < 5; ++c)
            grid->setItem(row, c, new QTableWidgetItem(Q(OneLine(texts[size_t(c)]))));
        ++row;
    };
    for (const indCompare::CellDifference& d : cells) {
        const auto caption = captions.find(d.sheet);
        const std::string where =
            d.label.empty() ? std::to_string(d.row) : std::to_string(d.row) + " (" + d.label + ")";
        put({caption == captions.end() ? d.sheet : caption->second, where, d.column, d.a, d.b});
    }
    for (const indCompare::ByteRange& r : unshown) {
        char span[32];
        std::snprintf(span, sizeof span, "%04X-%04X", unsigned(r.first), unsigned(r.last));
        put({Line("GI_AppInd_Compare", 6), "",
             Fill(Line("GI_AppInd_Compare", 7),
                  {span, std::to_string(indCompare::Differing(a.Packed(), b.Packed(), r))}),
             "", ""});
    }
    grid->resizeColumnsToContents();
    layout->addWidget(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(900, 500);
    m_comparison = &dialog;
    dialog.exec();
    m_comparison = nullptr;
}
