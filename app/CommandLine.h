// The program's command line. Asking for the program's folder or its version answers on standard
// output without opening a window or needing a display; scripts (scripts/run) ask the program for
// its folder rather than repeating the rule.
#pragma once

#include <QString>
#include <QStringList>

namespace app {

enum class StartRequest {
    Run,         // start the player
    PrintFolder, // --print-folder: print the program's own folder
    Version,     // --version
    Help,        // --help
    Error,       // an unknown option or a stray argument
};

struct StartOptions
{
    StartRequest Request = StartRequest::Run;
    QString Error;        // for StartRequest::Error
    bool Verbose = false; // --verbose: diagnostics on standard error
};

// Arguments as in QCoreApplication::arguments(), program name first.
StartOptions ParseCommandLine(const QStringList& Arguments);

// Whether argv asks for an answer on the console (or is wrong), so that main() can answer it with
// a QCoreApplication before any display is needed.
bool IsConsoleRequest(int argc, char** argv);

// Whether argv asks for --verbose: decided before the application exists, which already speaks.
bool IsVerboseStart(int argc, char** argv);

// Sets the organisation, name and version that the program folder and --version are built from.
void SetProgramIdentity();

// Answers a console request on standard output (errors on standard error); the exit status.
int AnswerConsoleRequest(const StartOptions& Options);

} // namespace app
