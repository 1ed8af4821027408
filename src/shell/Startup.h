// Program start: folders and configuration file beside the program, the windows, the last
// board or a new one, then the event loop.
#pragma once

#include <QString>

struct Services;
class TMainFrame;

// The whole program; returns the process exit code. quitWhenShown ends the event loop as
// soon as the main window is shown (start-up measurement only).
int runOrivox(int argc, char** argv, bool quitWhenShown = false);

// Start-up steps that need no window: the folders "fic" and "conf" and "conf/conf.txt" (made
// with the initial password when missing), then the password and last board read back.
// Failures are reported through the messages service and start-up goes on.
struct StartupValues {
  QString password;
  QString lastBoard;
};
StartupValues prepareProgramFolder(const QString& programFolder, const Services& services);

// The last board when it names a file that loads, otherwise a new board (the default one).
// While the last board loads, a marker file in the "conf" folder names it: found at the next
// start, it tells that this load never ended (the program froze or was stopped), so that board
// is not opened again; the new board is shown with a message naming the file.
void openStartBoard(TMainFrame& frame, const QString& lastBoard);
// The board named on the command line (or by the desktop, a file opened with Orivox) in place
// of the last board: a ".ord" file is opened as the board it is; an ".obf" or ".obz" file is
// imported as a new board without a file. One that cannot be opened leaves a new board, with a
// message saying why.
void openNamedBoard(TMainFrame& frame, const QString& path);
// Called once the configuration names the board on screen (rewritten at a clean close): the
// board a start was stuck on is no longer the one the next start opens.
void forgetInterruptedStart(const QString& programFolder);
QString interruptedStartMarker(const QString& programFolder);

// The folder that keeps "fic" and "conf": the program folder when it can be written to (a copy
// run from a folder of its own), otherwise the user's own data folder (a copy installed system
// wide, whose folder only the administrator may change).
QString chooseDataFolder(const QString& programFolder, const QString& userDataFolder);
