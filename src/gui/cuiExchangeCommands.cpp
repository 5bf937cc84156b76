#include "gui/cuiExchangeCommands.h"

#include "app/cmcCsv.h"
#include "app/indCompare.h"
#include "app/indScratchData.h"
#include "cells/cmcCodecText.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcGTex.h"
#include "core/cmcMessageBox.h"
#include "gui/cuiCloneCommands.h"
#include "gui/cuiMain.h"
#include "sheets/iuiSheetTable.h"
#include "sheets/iuiTableImport.h"
#include "sheets/iuiTreeSheets.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
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
    else if (command == kCompareRadio)
        CompareRadio();
}

std::unique_ptr<iuiSheetTable> cuiExchangeCommands::OpenListTable(indScratchData& data) {
    m_window.CommitEdits();
    const std::string sheet = m_window.OpenSheetText();
    data.SetWorking(m_window.Current(), m_window.ModelType());
    std::unique_ptr<iuiSheetTable> table;
    if (!sheet.empty())
        table = std::make_unique<iuiSheetTable>(QuietEnv(data), data.Handler(), data.Codecs(), sheet);
    if (!table || table->Sheet().FixedRows() <= 0 || table->ColumnCount() == 0) {
        Message(m_s.texts->GetJoinedText("GI_AppMess_Exchange_NoList"), true);
        return nullptr;
    }
    return table;
}

void cuiExchangeCommands::Export() {
    indScratchData data(*m_s.texts, m_s.languages);
    const std::unique_ptr<iuiSheetTable> table = OpenListTable(data);
    if (!table)
        return;
    const std::string path = m_s.askTablePath(true, std::string());
    if (path.empty())
        return;
    const auto records = table->Records();
    if (!cmcCsv::WriteFile(path, records)) {
        Message(cmcCodecText::Fill(m_s.texts->GetJoinedText("GI_AppMess_Exchange_WriteFail"), {path}), true);
        return;
    }
    Status(cmcCodecText::Fill(Line("GI_AppMess_Exchange_Done", 0),
                              {std::to_string(records.size() - 1), FileName(path)}));
}

void cuiExchangeCommands::Import() {
    // Cells that ask (a frequency outside the band, say) ask the technician here too.
    indScratchData data(*m_s.texts, m_s.languages, m_s.box);
    const std::unique_ptr<iuiSheetTable> table = OpenListTable(data);
    if (!table)
        return;
    const std::string path = m_s.askTablePath(false, std::string());
    if (path.empty())
        return;
    std::string text, error;
    std::vector<cmcCsv::Record> records;
    if (!cmcCsv::ReadFile(path, text)) {
        Message(cmcCodecText::Fill(m_s.texts->GetJoinedText("GI_AppMess_Exchange_ReadFail"), {path, ""}),
                true);
        return;
    }
    if (!cmcCsv::Read(text, records, error)) {
        Message(cmcCodecText::Fill(m_s.texts->GetJoinedText("GI_AppMess_Exchange_ReadFail"), {path, error}),
                true);
        return;
    }
    const iuiTableImport::Result result =
        iuiTableImport::Run(*table, data.Work(), records, cmcCsv::Separator(text));
    if (result.fault != iuiTableImport::HeaderFault::None) {
        Message(cmcCodecText::Fill(Line("GI_AppMess_Exchange_Header", int(result.fault) - 1),
                                   {result.faultHeader}),
                true);
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
            lines += cmcCodecText::Fill(Line("GI_AppMess_Exchange_Refusal", line),
                                        {std::to_string(r.row), r.header, OneLine(r.text), detail}) +
                     "\n";
        }
        if (result.refusals.size() > kShown)
            lines += "...\n";
        const std::string count = std::to_string(result.refusals.size());
        if (!result.changed) {
            Message(cmcCodecText::Fill(m_s.texts->GetJoinedText("GI_AppMess_Exchange_AllRefused"),
                                       {count, lines}),
                    true);
            return;
        }
        const std::string question =
            cmcCodecText::Fill(m_s.texts->GetJoinedText("GI_AppMess_Exchange_Refused"), {count, lines});
        if (m_s.box->Show(question, m_s.texts->GetLine("GI_Sys_AppTitle", 0), cmcMessageBox::Icon::Warning,
                          cmcMessageBox::Buttons::OkCancel) != cmcMessageBox::Answer::Ok)
            return;
    }
    if (result.changed && m_s.takeImport)
        m_s.takeImport(m_window.Current(), data.Work());
    Status(cmcCodecText::Fill(Line("GI_AppMess_Exchange_Done", 1),
                              {std::to_string(result.typedRows), FileName(path)}));
}

void cuiExchangeCommands::Compare() {
    m_window.CommitEdits();
    const std::string path = m_s.askDataPath ? m_s.askDataPath() : std::string();
    if (path.empty())
        return;
    indScratchData other(*m_s.texts, m_s.languages);
    if (const cmcKvtFile::FileError code = other.OpenFile(path); code != cmcKvtFile::FileError::Ok) {
        cmcKvtFile::ShowFileError(code, *m_s.texts, *m_s.box);
        return;
    }
    ShowComparison(other, FileName(path), Line("GI_AppInd_Compare", 5));
}

void cuiExchangeCommands::CompareRadio() {
    m_window.CommitEdits();
    // The radio is read as Clone > Read does (with its window, messages and cancel); its data is
    // compared once the read has ended, and never replaces the window's data.
    m_window.Clone().Read([this](const cmcEeprom& radio) {
        auto copy = std::make_shared<cmcEeprom>(radio);
        QTimer::singleShot(0, &m_window, [this, copy] {
            indScratchData other(*m_s.texts, m_s.languages);
            other.SetRadio(*copy);
            ShowComparison(other, Line("GI_AppInd_Compare", 8), Line("GI_AppInd_Compare", 8));
        });
    });
    if (m_s.events)
        m_s.events->Send(cmcEv::RefreshCommands);
}

std::vector<std::vector<std::string>> cuiExchangeCommands::ComparisonRows(indScratchData& other) {
    indScratchData mine(*m_s.texts, m_s.languages);
    mine.SetWorking(m_window.Current(), m_window.ModelType());
    indCompare::Side sideA = mine.Side(), sideB = other.Side();
    const auto sheets = indCompare::Sheets(sideA, sideB);
    const auto cells = indCompare::Cells(sideA, sideB, sheets);
    const auto ranges = indCompare::Ranges(mine.Packed(), other.Packed());
    const auto unshown =
        indCompare::Unshown(sideA, mine.Packed(), other.Packed(), mine.Model(), ranges, sheets);
    std::vector<std::vector<std::string>> rows;
    if (cells.empty() && ranges.empty())
        return rows;

    // Sheets by the names the tree gives them.
    std::map<std::string, std::string> captions;
    for (indScratchData* data : {&mine, &other})
        for (const iuiTreeSheets::Node& node :
             iuiTreeSheets::Nodes(*m_s.texts, data->Work().Data(), {data->ModelType(), true, true}))
            if (!node.sheetText.empty() && !captions.count(node.sheetText))
                captions[node.sheetText] = node.caption;
    for (const indCompare::CellDifference& d : cells) {
        const auto caption = captions.find(d.sheet);
        const std::string where =
            d.label.empty() ? std::to_string(d.row) : std::to_string(d.row) + " (" + d.label + ")";
        rows.push_back({caption == captions.end() ? d.sheet : caption->second, where, d.column, d.a, d.b});
    }
    for (const indCompare::ByteRange& r : unshown) {
        char span[32];
        std::snprintf(span, sizeof span, "%04X-%04X", unsigned(r.first), unsigned(r.last));
        rows.push_back({Line("GI_AppInd_Compare", 6), "",
                        cmcCodecText::Fill(
                            Line("GI_AppInd_Compare", 7),
                            {span, std::to_string(indCompare::Differing(mine.Packed(), other.Packed(), r))}),
                        "", ""});
    }
    return rows;
}

void cuiExchangeCommands::ShowComparison(indScratchData& other, const std::string& name,
                                         const std::string& otherColumn) {
    m_rows = ComparisonRows(other);
    if (m_rows.empty()) {
        Message(cmcCodecText::Fill(m_s.texts->GetJoinedText("GI_AppMess_Compare_Same"), {name}), false);
        return;
    }
    m_headers.clear();
    for (int i = 1; i <= 5; ++i)
        m_headers.push_back(i == 5 ? otherColumn : Line("GI_AppInd_Compare", i));
    m_title = cmcCodecText::Fill(Line("GI_AppInd_Compare", 0), {name});

    QDialog dialog(&m_window);
    dialog.setWindowTitle(Q(m_title));
    auto* layout = new QVBoxLayout(&dialog);
    auto* grid = new QTableWidget(int(m_rows.size()), 5, &dialog);
    grid->setObjectName(QStringLiteral("comparison"));
    QStringList headers;
    for (const std::string& header : m_headers)
        headers << Q(header);
    grid->setHorizontalHeaderLabels(headers);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    for (int row = 0; row < int(m_rows.size()); ++row)
        for (int c = 0; c < 5; ++c)
            grid->setItem(row, c, new QTableWidgetItem(Q(OneLine(m_rows[size_t(row)][size_t(c)]))));
    grid->resizeColumnsToContents();
    layout->addWidget(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QPushButton* exportButton =
        buttons->addButton(Q(Line("GI_AppInd_Compare_Buttons", 0)), QDialogButtonBox::ActionRole);
    exportButton->setObjectName(QStringLiteral("exportComparison"));
    QPushButton* printButton =
        buttons->addButton(Q(Line("GI_AppInd_Compare_Buttons", 1)), QDialogButtonBox::ActionRole);
    printButton->setObjectName(QStringLiteral("printComparison"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(exportButton, &QPushButton::clicked, &dialog, [this] { ExportComparison(); });
    QObject::connect(printButton, &QPushButton::clicked, &dialog, [this, &dialog] {
        QPrinter printer(QPrinter::HighResolution);
        if (m_s.choosePrinter ? m_s.choosePrinter(printer)
                              : QPrintDialog(&printer, &dialog).exec() == QDialog::Accepted)
            PrintComparison(printer);
    });
    layout->addWidget(buttons);
    dialog.resize(900, 500);
    m_comparison = &dialog;
    dialog.exec();
    m_comparison = nullptr;
}

void cuiExchangeCommands::ExportComparison() {
    const std::string path = m_s.askTablePath(true, "comparison.csv");
    if (path.empty())
        return;
    std::vector<cmcCsv::Record> records{m_headers};
    records.insert(records.end(), m_rows.begin(), m_rows.end());
    if (!cmcCsv::WriteFile(path, records)) {
        Message(cmcCodecText::Fill(m_s.texts->GetJoinedText("GI_AppMess_Exchange_WriteFail"), {path}), true);
        return;
    }
    Status(cmcCodecText::Fill(Line("GI_AppMess_Exchange_Done", 0),
                              {std::to_string(m_rows.size()), FileName(path)}));
}

void cuiExchangeCommands::PrintComparison(QPrinter& printer) {
    // A plain table: the comparison is a list, not a sheet, so Qt's rich text lays it out.
    QString html = QStringLiteral("<h3>%1</h3><table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>")
                       .arg(Q(m_title).toHtmlEscaped());
    for (const std::string& header : m_headers)
        html += QStringLiteral("<th>%1</th>").arg(Q(header).toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (const auto& row : m_rows) {
        html += QStringLiteral("<tr>");
        for (const std::string& text : row)
            html += QStringLiteral("<td>%1</td>").arg(Q(OneLine(text)).toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    QTextDocument document;
    document.setHtml(html);
    document.print(&printer);
}
