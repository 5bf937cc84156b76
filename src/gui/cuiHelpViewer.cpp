#include "gui/cuiHelpViewer.h"

#include "core/cmcGTex.h"

#include <QAction>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// How long the desktop may take to say which program opens HTML.
constexpr int kQueryMs = 2000;

// Whether the desktop names a program for HTML. Only a desktop that can be asked (xdg-mime) and
// answers with nothing counts as having none: elsewhere the desktop's opener decides.
bool BrowserRegistered() {
    if (!qEnvironmentVariableIsEmpty("BROWSER"))
        return true;
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty())
        return true;
    QProcess process;
    process.start(query, {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
    if (!process.waitForFinished(kQueryMs)) {
        process.kill();
        process.waitForFinished(kQueryMs);
        return true;
    }
    return process.exitCode() != 0 || !process.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

bool cuiHelpViewer::OpenInBrowser(const std::string& helpFile) {
    return BrowserRegistered() &&
           QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(helpFile)));
}

cuiHelpViewer::cuiHelpViewer(QWidget* parent, cmcGTex& texts, const std::string& helpFile)
    : QWidget(parent, Qt::Window), m_home(QUrl::fromLocalFile(QString::fromStdString(helpFile))) {
    setWindowTitle(QString::fromStdString(texts.GetText("GI_App_Help_Caption")));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QToolBar(this);
    m_browser = new QTextBrowser(this);
    // Pages of the help open here; addresses on the web go to the desktop.
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(true);
    QAction* back = bar->addAction(QString::fromStdString(texts.GetLine("GI_App_Help_Buttons", 0)));
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    QAction* forward = bar->addAction(QString::fromStdString(texts.GetLine("GI_App_Help_Buttons", 1)));
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    QAction* contents = bar->addAction(QString::fromStdString(texts.GetLine("GI_App_Help_Buttons", 2)));
    connect(contents, &QAction::triggered, this, &cuiHelpViewer::ShowContents);
    layout->addWidget(bar);
    layout->addWidget(m_browser, 1);
    resize(720, 560);
    if (parent)
        move(parent->window()->frameGeometry().center() - rect().center());
    m_browser->setSource(m_home);
}

void cuiHelpViewer::ShowContents() {
    // The first page of the history is the help file's start.
    m_browser->home();
}

void cuiHelpViewer::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
