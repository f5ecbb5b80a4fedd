#pragma once

#include <functional>

namespace qm {

class AppPaths;
class TfrmMain;
struct DataFolderChoice;

// What a caller may add to a run of the program. The start-up benchmark runs
// the program's own start through these.
struct ProgramHooks {
    // Where the program finds itself (and so its data folder); the system's
    // when null.
    const AppPaths *paths = nullptr;
    // Called with the main window once it exists, before it starts up.
    std::function<void(TfrmMain &)> windowCreated;
    // How long the splash screen is held, in Delay() steps (about 2.6
    // seconds for 3); the start-up benchmark measures without the hold.
    int splashHold = 3;
};

// The whole life of the program, from the application object to the end of
// the event loop; returns the exit code.
int RunProgram(int argc, char **argv, const ProgramHooks &hooks = {});

// An import or export asked for on the command line, carried out without a
// window over the data folder paths give; returns the exit code.
struct ExchangeCommand;
int RunCommandLine(int argc, char **argv, const ExchangeCommand &command, const AppPaths &paths);
// Names the application for the system. Window captions stay exactly as the
// forms set them: nothing is appended to them.
void NameApplication();

// False, after telling the user why in the program's message dialog, when the
// program must not start over the data folder chosen.
bool AcceptDataFolder(const DataFolderChoice &choice);

} // namespace qm
