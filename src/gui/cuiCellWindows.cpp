#include "gui/cuiCellWindows.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellHandler.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcChoiceCodecs.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcEvRec.h"
#include "core/cmcGTex.h"
#include "gui/cuiFlector.h"
#include "gui/cuiGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <memory>
#include <vector>

namespace {

// OK and Cancel in the overlay's words.
QDialogButtonBox* OkCancel(QDialog* dialog, cmcGTex* texts) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    if (texts && texts->HasKey("GI_AppInd_Button_OkCancel")) {
        buttons->button(QDialogButtonBox::Ok)
            ->setText(QString::fromStdString(texts->GetLine("GI_AppInd_Button_OkCancel", 0)));
        buttons->button(QDialogButtonBox::Cancel)
            ->setText(QString::fromStdString(texts->GetLine("GI_AppInd_Button_OkCancel", 1)));
    }
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

std::string AppTitle(cmcGTex* texts) {
    return texts && texts->HasKey("GI_Sys_AppTitle") ? texts->GetLine("GI_Sys_AppTitle", 0) : std::string();
}

// Heading of bit position p by label style: hexadecimal, decimal (10 as 0, 17 as Z), letters, or B
// numbered downwards from the last position.
QString BitHeading(int32_t p, int32_t first, int32_t last, int32_t style) {
    switch (style) {
    case 1:
        return QString::number(p, 16).toUpper();
    case 3:
    case 4:
        return QString(QChar(cmcChoiceCodecs::BitLabel(
            p, style == 3 ? cmcChoiceCodecs::BitLabels::Numeric : cmcChoiceCodecs::BitLabels::Alphanumeric)));
    case 5:
        return QString(QChar(char(p + 64)));
    case 7:
        return QStringLiteral("B%1").arg(last - p);
    default:
        (void)first;
        return QString::number(p);
    }
}

} // namespace

cuiCellWindows::cuiCellWindows(const cuiSheetEnv& env) : m_env(env), m_events(env.events) {
    if (m_events)
        m_events->Register(&cuiCellWindows::OnEvent, this);
}

void cuiCellWindows::SetEnv(const cuiSheetEnv& env) {
    m_env = env;
    m_env.events = m_events;
}

void cuiCellWindows::OnEvent(void* context, const cmcEvRec& event) {
    auto* self = static_cast<cuiCellWindows*>(context);
    if (event.type != cmcEv::CommitEdit)
        return;
    if (self->m_list)
        self->m_list->close();
    if (auto* dialog = qobject_cast<QDialog*>(self->m_editor.data()))
        dialog->accept(); // an editor answers what it holds
}

cuiFlector* cuiCellWindows::List() const {
    return m_list.data();
}

cuiCellWindows::~cuiCellWindows() {
    if (m_events)
        m_events->Unregister(&cuiCellWindows::OnEvent, this);
    CloseAll();
}

void cuiCellWindows::CloseAll() {
    if (m_list)
        m_list->close();
    if (m_editor)
        m_editor->close();
}

QWidget* cuiCellWindows::Owner(const cmcCellCapsule* opener) const {
    // A capsule on the grid has the grid as its owner control.
    if (!opener || !opener->onGrid)
        return nullptr;
    return static_cast<cuiGrid*>(opener->ownerControl);
}

QRect cuiCellWindows::WorkArea() const {
    if (workArea)
        return workArea();
    QScreen* screen = QApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void cuiCellWindows::OpenList(const cmcCellCapsule* opener, std::string_view listName, int32_t choiceCell,
                              int32_t value) {
    QWidget* owner = Owner(opener);
    if (!owner || !m_env.texts)
        return; // a list answers a cell on a grid; without one there is nothing to answer
    CloseAll();
    m_list = new cuiFlector(owner, m_env, m_handler, *opener, std::string(listName), choiceCell, value);
    m_list->Open(WorkArea());
}

void cuiCellWindows::Answer(const cmcCellCapsule& opener, const std::string& text) {
    if (!m_handler)
        return;
    cmcCellObj answerCell;
    answerCell.cell = cmcChoiceCodecs::kAnswerCell;
    cmcCellCapsule scratch;
    scratch.cell = &answerCell;
    cmcCellCapsule answer;
    answer.CopyCapsule(opener);
    answer.groupIndex = opener.groupIndex;
    answer.link = &scratch;
    answer.editState = cmcCellCapsule::kEditChosen;
    answer.key = 0;
    answer.command = 0;
    answer.enteredText = text;
    m_handler->CallCell(answer, cmcCellHandler::kNotifyAction);
}

void cuiCellWindows::OpenBits(const cmcCellCapsule* opener, int32_t value, int32_t first, int32_t last,
                              int32_t labelStyle, std::string_view title) {
    QWidget* owner = Owner(opener);
    if (!owner || last < first || last - first > 30)
        return;
    CloseAll();
    auto* dialog = new QDialog(owner, Qt::Dialog);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(
        QString::fromStdString(title.empty() ? AppTitle(m_env.texts) : std::string(title)));
    auto* layout = new QVBoxLayout(dialog);
    auto* grid = new QGridLayout;
    std::vector<QCheckBox*> boxes;
    for (int32_t p = first; p <= last; ++p) {
        auto* label = new QLabel(BitHeading(p, first, last, labelStyle), dialog);
        label->setAlignment(Qt::AlignCenter);
        auto* box = new QCheckBox(dialog);
        box->setChecked((static_cast<uint32_t>(value) >> (last - p)) & 1u);
        grid->addWidget(label, 0, p - first, Qt::AlignCenter);
        grid->addWidget(box, 1, p - first, Qt::AlignCenter);
        boxes.push_back(box);
    }
    layout->addLayout(grid);
    layout->addWidget(OkCancel(dialog, m_env.texts));
    auto copy = std::make_shared<cmcCellCapsule>();
    copy->CopyCapsule(*opener);
    copy->groupIndex = opener->groupIndex;
    QObject::connect(dialog, &QDialog::accepted, dialog, [this, copy, boxes, first, last] {
        uint32_t bits = 0;
        for (int32_t p = first; p <= last; ++p)
            if (boxes[size_t(p - first)]->isChecked())
                bits |= 1u << (last - p);
        Answer(*copy, std::to_string(bits));
    });
    m_editor = dialog;
    dialog->show();
}

void cuiCellWindows::OpenDisplayText(const cmcCellCapsule* opener, std::string_view text, bool selectAll,
                                     int32_t maxLength, const uint8_t*, bool) {
    QWidget* owner = Owner(opener);
    if (!owner)
        return;
    CloseAll();
    auto* dialog = new QDialog(owner, Qt::Dialog);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QString::fromStdString(AppTitle(m_env.texts)));
    auto* layout = new QVBoxLayout(dialog);
    auto* edit = new QLineEdit(QString::fromStdString(std::string(text)), dialog);
    // Escapes ("%%", "%1F") take more characters than they show; the cell checks the length.
    edit->setMaxLength(std::max(1, maxLength) * 3);
    if (selectAll)
        edit->selectAll();
    else
        edit->setCursorPosition(int(edit->text().size()));
    layout->addWidget(edit);
    layout->addWidget(OkCancel(dialog, m_env.texts));
    auto copy = std::make_shared<cmcCellCapsule>();
    copy->CopyCapsule(*opener);
    copy->groupIndex = opener->groupIndex;
    QObject::connect(dialog, &QDialog::accepted, dialog,
                     [this, copy, edit] { Answer(*copy, edit->text().toStdString()); });
    m_editor = dialog;
    dialog->show();
    edit->setFocus();
}

void cuiCellWindows::OpenCharEditor(const cmcCellCapsule* opener, int32_t pattern) {
    // The character's segments as 16 switches, most significant first.
    OpenBits(opener, pattern & 0xFFFF, 0, 15, 2, {});
}

bool cuiCellWindows::AskPassword(const cmcCellCapsule* opener, std::string& password) {
    QDialog dialog(Owner(opener));
    dialog.setWindowTitle(QString::fromStdString(AppTitle(m_env.texts)));
    auto* layout = new QVBoxLayout(&dialog);
    auto* edit = new QLineEdit(&dialog);
    edit->setEchoMode(QLineEdit::Password);
    layout->addWidget(edit);
    layout->addWidget(OkCancel(&dialog, m_env.texts));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    password = edit->text().toStdString();
    return true;
}
