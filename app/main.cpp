#include "CommandLine.h"
#include "PlayerHandOver.h"
#include "ProgramFolder.h"
#include "ProgramLifetime.h"
#include "SingleInstance.h"
#include "StartupEnvironment.h"
#include "Translations.h"
#include "frmLoad.h"

#include <QApplication>
#include <QPointer>
#include <cstdio>

namespace {

// --print-folder, --version, --help: answered without a display.
int AnswerOnConsole(int argc, char** argv)
{
    QCoreApplication console(argc, argv);
    app::SetProgramIdentity();
    return app::AnswerConsoleRequest(app::ParseCommandLine(QCoreApplication::arguments()));
}

} // namespace

int main(int argc, char** argv)
{
    if (app::IsConsoleRequest(argc, argv))
        return AnswerOnConsole(argc, argv);
    // Decided before the application exists: Qt reads these when it starts.
    app::PrepareStartupEnvironment(app::IsVerboseStart(argc, argv));
    QApplication app(argc, argv);
    app::SetProgramIdentity();
    app::InstallTranslations(app);
    // Qt has taken its own options (-platform, ...); anything left is an error.
    const app::StartOptions options = app::ParseCommandLine(QCoreApplication::arguments());
    if (options.Request != app::StartRequest::Run)
        return app::AnswerConsoleRequest(options);

    // Before anything can be left behind (the instance's socket): a signal from now on waits
    // for the event loop, which ends the program cleanly.
    app::EndOnSignals();
    app::SingleInstance instance(app::SingleInstance::ServerPathFor(core::ProgramFolder()));
    switch (instance.ClaimOrRaise(5'000)) {
    case app::SingleInstance::Claim::Raised:
        return 0;
    case app::SingleInstance::Claim::Unanswered:
        std::fputs("Corvane_net_player: already running, but it does not answer.\n", stderr);
        return 1;
    case app::SingleInstance::Claim::First:
        break;
    }
    app::RegisterWindows();

    QPointer<QWidget> splash = new app::frmLoad;
    QObject::connect(&instance, &app::SingleInstance::RaiseRequested,
                     [&splash] { app::BringProgramToFront(splash); });
    splash->show();
    const int status = QApplication::exec();
    app::DestroyRemainingWindows();
    return status;
}
