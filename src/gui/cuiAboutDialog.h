#pragma once
// The About window: the program's name and icon, its version and build day, and its licence with
// where the full licence text is. OK, Enter or Escape close it.
#include <QDialog>
#include <string>

class QLabel;
class cmcGTex;

class cuiAboutDialog : public QDialog {
    Q_OBJECT
public:
    struct Facts {
        std::string version;     // as the program reports it (--version)
        std::string buildDate;   // the day it was built
        std::string licenseFile; // the licence text beside the program; "" when it is not there
    };

    cuiAboutDialog(QWidget* parent, cmcGTex& texts, const Facts& facts);
    // The window's text, as shown (rich text).
    QString Text() const;

private:
    QLabel* m_text = nullptr;
};
