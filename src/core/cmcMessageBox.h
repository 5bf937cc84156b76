#pragma once
// Message boxes and confirmations as the radio logic asks for them. The desktop program shows Qt
// dialogs, the command line prints to standard error and answers from its flags, tests answer from
// a script.
#include <string>

class cmcMessageBox {
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~cmcMessageBox() = default;

    // Shows text with caption (line 0 of GI_Sys_AppTitle for boxes about the user's data) and
    // returns the button chosen. Boxes are topmost.
    virtual Answer Show(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) = 0;
};
