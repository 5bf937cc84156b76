#pragma once
// The icons of the menu and toolbar commands: the desktop theme's icon where the theme has one for
// the command, else one drawn here, so that every command shows a picture of what it does whatever
// the style and theme (a plain style has no help icon, for one).
#include <QIcon>

class cuiCommandIcons {
public:
    enum Kind {
        None = -1,
        New,
        Open,
        Save,
        Print,
        CloneRead,
        CloneWrite,
        CloneInfo,
        ChannelWindow,
        Help,
        About,
        Program, // the program itself: a radio (the About window)
    };

    // The theme's icon, else the drawn one; a null icon for None.
    static QIcon Icon(int kind);
    // The icon drawn here, at the usual menu and toolbar sizes.
    static QIcon Drawn(int kind);
};
