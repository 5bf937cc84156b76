#include "gui/cuiAdCommands.h"

#include "app/indEnviron.h"
#include "clone/cmcCloneFrame.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcGTex.h"
#include "core/cmcMessageBox.h"
#include "gui/cuiCloneCommands.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdlib>
#include <vector>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The first 8 bytes of a password, zero-padded: the form the AdjustMode setting is compared in.
std::array<char, cuiAdCommands::kMaxPassword> Padded(const std::string& text) {
    std::array<char, cuiAdCommands::kMaxPassword> out{};
    for (size_t i = 0; i < out.size() && i < text.size(); ++i) {
        out[i] = text[i];
    }
    return out;
}

} // namespace

cuiAdCommands::cuiAdCommands(const Services& services) : m_s(services) {
    for (int i = 0; i < kChannels; ++i) {
        m_channelNumbers[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    }
}

std::string cuiAdCommands::Title() const {
    return m_s.tex->GetLine("GI_Sys_AppTitle", 0);
}

void cuiAdCommands::Error(const char* key) {
    m_s.box->Show(m_s.tex->GetJoinedText(key), Title(), cmcMessageBox::Icon::Error,
                  cmcMessageBox::Buttons::Ok);
}

bool cuiAdCommands::Unlocked() const {
    return m_unlocked || m_s.env->adjustPassword.empty();
}

bool cuiAdCommands::AskPassword(std::string& password) {
    if (m_s.askPassword) {
        return m_s.askPassword(password);
    }
    cmcGTex& tex = *m_s.tex;
    QDialog dialog(m_s.window,
                   Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    dialog.setWindowTitle(Q(tex.GetLine("GI_AppInd_Opt_AdjReadPwd_Caption", 0)));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(Q(tex.GetJoinedText("GI_AppInd_Opt_AdjReadPwd_Notice")), &dialog));
    auto* entry = new QLineEdit(&dialog);
    entry->setEchoMode(QLineEdit::Password);
    entry->setMaxLength(static_cast<int>(kMaxPassword));
    entry->setAttribute(Qt::WA_InputMethodEnabled, false);
    layout->addWidget(entry);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(Q(tex.GetLine("GI_AppInd_Opt_AdjReadPwd_Buttons", 0)),
                                         QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(Q(tex.GetLine("GI_AppInd_Opt_AdjReadPwd_Buttons", 1)),
                                             QDialogButtonBox::RejectRole);
    const int width = std::atoi(tex.GetText("GI_AppInd_Opt_AdjReadPwd_SizeOfButtons").c_str());
    if (width > 0) {
        ok->setMinimumWidth(width);
        cancel->setMinimumWidth(width);
    }
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    entry->setFocus();
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    password = entry->text().toStdString();
    return true;
}

bool cuiAdCommands::OpenLock() {
    if (Unlocked()) {
        return true;
    }
    std::string password;
    if (!AskPassword(password)) {
        return false; // the user's own decision: nothing to tell
    }
    if (password.empty() || password.size() > kMaxPassword ||
        Padded(password) != Padded(m_s.env->adjustPassword)) {
        Error("GI_AppInd_Opt_AdjReadPwd_Wrong");
        return false;
    }
    m_unlocked = true;
    if (m_s.events) {
        m_s.events->Post(cmcEv::RedrawAll);
    }
    return true;
}

cuiAdCommands::Outcome cuiAdCommands::Read() {
    if (m_s.clone->IsBusy()) {
        return Outcome::Busy;
    }
    if (!OpenLock()) {
        return Outcome::Locked;
    }
    if (m_s.box->Show(m_s.tex->GetJoinedText("GI_Mess_Adjust_Caution"), Title(), cmcMessageBox::Icon::Warning,
                      cmcMessageBox::Buttons::OkCancel) != cmcMessageBox::Answer::Ok) {
        return Outcome::Cancelled;
    }
    if (m_s.clone->IsBusy()) {
        return Outcome::Busy;
    }
    if (m_s.factoryMode && m_s.factoryMode()) {
        StartAdjustment(false);
        return Outcome::Started;
    }
    // The clone read first; the radio's answer to the information after it shows that it is still
    // there before the adjustment state is entered.
    const bool started = m_s.cloneRead && m_s.cloneRead([this] {
        QTimer::singleShot(0, m_s.window, [this] { InfoAttempt(0); });
    });
    return started ? Outcome::Started : Outcome::Busy;
}

void cuiAdCommands::InfoAttempt(int attempt) {
    const bool last = attempt + 1 >= kInfoAttempts;
    const bool started = m_s.clone->QuietInfo(!last, [this, attempt, last](int32_t status) {
        if (status == 0) {
            QTimer::singleShot(0, m_s.window, [this] { StartAdjustment(true); });
        } else if (!last) {
            QTimer::singleShot(0, m_s.window, [this, attempt] { InfoAttempt(attempt + 1); });
        }
        // The last failure has shown its clone error message.
    });
    if (!started) {
        Error("GI_Mess_Adjust_Busy");
    }
}

void cuiAdCommands::StartAdjustment(bool afterRead) {
    const bool started = m_s.clone->ModelCommand(cmcCloneFrame::kSubAdjustStart, 1, nullptr,
                                                 [this, afterRead](int32_t status) {
                                                     if (status != 0) {
                                                         return; // the clone error message was shown
                                                     }
                                                     m_adjusting = true;
                                                     if (m_s.adjustStarted) {
                                                         m_s.adjustStarted(afterRead);
                                                     }
                                                 });
    if (!started) {
        Error("GI_Mess_Adjust_Busy");
    }
}

bool cuiAdCommands::ReadValues(std::function<void(int32_t status)> done) {
    if (!m_adjusting || m_s.clone->IsBusy()) {
        return false;
    }
    std::vector<imcCloneDrv::Entry> list;
    for (size_t i = 0; i < m_channelNumbers.size(); ++i) {
        list.push_back({cmcCloneFrame::kSubMeasure, &m_channelNumbers[i], &m_read[i]});
    }
    m_read.fill(0);
    return m_s.clone->ModelList(list, [this, done](int32_t status) {
        if (status == 0) {
            for (size_t i = 0; i < m_read.size(); ++i) {
                m_values[i] = m_read[i];
            }
        } else {
            // A radio that stopped answering has left its adjustment state (or the bench).
            m_values.fill(std::nullopt);
            m_adjusting = false;
        }
        if (done) {
            done(status);
        }
    });
}
