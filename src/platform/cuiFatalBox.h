#pragma once
// The desktop program's fatal-error handler: the message goes to standard error and, when a display
// is available, into an error box captioned with the program's name; then the process aborts.
class cuiFatalBox {
public:
    // Installs the handler (after the QApplication exists).
    static void Install();
};
