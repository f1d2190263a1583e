#pragma once
// modMain: the start and the end of the program.
#include "app/EndReason.h"

#include <QString>

// Start: decides alpha support, loads and shows the main window.
void Main();

// Unloads the main window and the other loaded windows in order; tolerates being re-entered
// from the main window's own unloading.
void EndProgram();

// Ends the program for a signal or the session's end, closing any open box first; during the
// start, as soon as the main window is loaded.
void requestEnd(EndReason reason);

// Routes SIGTERM, SIGHUP and SIGINT, and the end of the desktop session, to EndProgram so the
// program ends the same way as through its own menu. Needs a running QCoreApplication.
void installEndHandlers();

// Loads Qt's German catalogue for its own texts (buttons of the standard boxes, the edit
// fields' context menus, the colour chooser), whatever the system language: the program's own
// texts are German. False, and Qt's English texts, when the catalogue is not in the folder.
bool installGermanQtTexts(const QString& folder = QString());

// Caption of the main window: title, blank, major.minor.revision.
QString programCaption();
