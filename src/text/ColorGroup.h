#pragma once

// What a colour chosen in the options dialog colours in the main window.
enum class ColorGroup {
    Window,   // the window and its check boxes
    Text,     // the text of the edit field
    TextArea, // the edit field and both lists
    Buttons,  // the six buttons
};
