// Starts exactly as the program does (folders, configuration, windows, default board), then
// quits as soon as the main window has been shown: the time of a start-up.
#include "shell/Startup.h"

#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) { return runOrivox(argc, argv, /*quitWhenShown=*/true); }
