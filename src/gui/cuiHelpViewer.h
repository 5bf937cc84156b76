#pragma once
// The built-in help window, for a desktop without a registered web browser: the help HTML file in a
// text browser that follows the links inside the help (links to the web go to the desktop), with
// Back, Forward and Contents. Escape closes it.
#include <QUrl>
#include <QWidget>
#include <string>

class QTextBrowser;
class cmcGTex;

class cuiHelpViewer : public QWidget {
    Q_OBJECT
public:
    cuiHelpViewer(QWidget* parent, cmcGTex& texts, const std::string& helpFile);
    // Shows the help file's first page again.
    void ShowContents();
    QTextBrowser* Browser() { return m_browser; }

    // The help file in the desktop's web browser; false when no browser is registered or it could not
    // be started.
    static bool OpenInBrowser(const std::string& helpFile);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTextBrowser* m_browser = nullptr;
    QUrl m_home;
};
