#include "gui/cuiAboutDialog.h"

#include "core/cmcGTex.h"
#include "gui/cuiCommandIcons.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// Line n of an overlay text as rich text, its "%s" replaced by html (filled by hand: an overlay format
// is never handed to printf).
QString Filled(cmcGTex& texts, const char* key, int n, const QString& html) {
    const QString line = QString::fromStdString(texts.GetLine(key, n));
    const qsizetype at = line.indexOf(QStringLiteral("%s"));
    if (at < 0)
        return line.toHtmlEscaped();
    return line.left(at).toHtmlEscaped() + html + line.mid(at + 2).toHtmlEscaped();
}

QString Plain(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped();
}

QString Link(const QString& url, const QString& shown) {
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toHtmlEscaped(), shown.toHtmlEscaped());
}

constexpr const char* kLicenseWeb = "https://www.gnu.org/licenses/gpl-3.0.html";

} // namespace

cuiAboutDialog::cuiAboutDialog(QWidget* parent, cmcGTex& texts, const Facts& facts) : QDialog(parent) {
    setWindowTitle(QString::fromStdString(texts.GetText("GI_App_About_Caption")));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(this);
    const QIcon appIcon =
        qApp->windowIcon().isNull() ? cuiCommandIcons::Drawn(cuiCommandIcons::Program) : qApp->windowIcon();
    icon->setPixmap(appIcon.pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    row->addWidget(icon);

    // Line 0 the version, 1 the build day, 2 the licence, 3 where its full text is beside the
    // program, 4 where it is on the web.
    QStringList lines;
    lines << QStringLiteral("<b>%1</b>").arg(Plain(texts.GetText("GI_Sys_AppTitle")));
    lines << Filled(texts, "GI_App_About_Text", 0, Plain(facts.version.empty() ? "?" : facts.version));
    if (!facts.buildDate.empty())
        lines << Filled(texts, "GI_App_About_Text", 1, Plain(facts.buildDate));
    lines << QString() << Filled(texts, "GI_App_About_Text", 2, {});
    if (!facts.licenseFile.empty()) {
        const QString path = QString::fromStdString(facts.licenseFile);
        lines << Filled(texts, "GI_App_About_Text", 3, Link(QUrl::fromLocalFile(path).toString(), path));
    }
    const QString web = QString::fromLatin1(kLicenseWeb);
    lines << Filled(texts, "GI_App_About_Text", 4, Link(web, web));

    m_text = new QLabel(lines.join(QStringLiteral("<br>")), this);
    m_text->setTextFormat(Qt::RichText);
    m_text->setTextInteractionFlags(Qt::TextBrowserInteraction);
    m_text->setOpenExternalLinks(true);
    row->addWidget(m_text, 1);
    layout->addLayout(row);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QString::fromStdString(texts.GetText("GI_App_About_Button")),
                                         QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    ok->setFocus();
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString cuiAboutDialog::Text() const {
    return m_text->text();
}
