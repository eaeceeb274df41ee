#include "CommandLine.h"

#include "ProgramFolder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace app {
namespace {

const QCommandLineOption& PrintFolderOption()
{
    static const QCommandLineOption option(
        QStringLiteral("print-folder"),
        QStringLiteral("Print the program's own folder (where Settings.ini lives) and exit."));
    return option;
}

const QCommandLineOption& VerboseOption()
{
    static const QCommandLineOption option(
        QStringLiteral("verbose"),
        QStringLiteral("Print diagnostics on standard error: Qt's and Qt WebEngine's informational "
                       "messages and the web engine's own log. Warnings are printed either way."));
    return option;
}

void Describe(QCommandLineParser& Parser)
{
    Parser.setApplicationDescription(
        QStringLiteral("Corvane net player: internet radio and TV channels.\n"
                       "The program's own folder is the executable's folder when a file named "
                       "\"portable\" lies beside it, else the per-user data folder."));
    Parser.addHelpOption();
    Parser.addVersionOption();
    Parser.addOption(PrintFolderOption());
    Parser.addOption(VerboseOption());
}

void Print(FILE* Stream, const QString& Text)
{
    std::fputs(Text.toLocal8Bit().constData(), Stream);
    std::fflush(Stream);
}

} // namespace

StartOptions ParseCommandLine(const QStringList& Arguments)
{
    QCommandLineParser parser;
    Describe(parser);
    if (!parser.parse(Arguments))
        return {StartRequest::Error, parser.errorText()};
    if (!parser.positionalArguments().isEmpty())
        return {
            StartRequest::Error,
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first())};
    if (parser.isSet(QStringLiteral("help")))
        return {StartRequest::Help, {}};
    if (parser.isSet(QStringLiteral("version")))
        return {StartRequest::Version, {}};
    if (parser.isSet(PrintFolderOption()))
        return {StartRequest::PrintFolder, {}};
    return {StartRequest::Run, {}, parser.isSet(VerboseOption())};
}

bool IsVerboseStart(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--verbose")
            return true;
    }
    return false;
}

bool IsConsoleRequest(int argc, char** argv)
{
    // Qt's own options (-platform, -style, ...) belong to the windowed start, which QApplication
    // strips before the program parses the rest; only the program's own answers come here.
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--print-folder" || arg == "--version" || arg == "-v" || arg == "--help" ||
            arg == "-h" || arg == "-?")
            return true;
    }
    return false;
}

void SetProgramIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Corvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Corvane_net_player"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
}

int AnswerConsoleRequest(const StartOptions& Options)
{
    switch (Options.Request) {
    case StartRequest::PrintFolder:
        Print(stdout, core::ProgramFolder() + QLatin1Char('\n'));
        return 0;
    case StartRequest::Version:
        Print(
            stdout,
            QStringLiteral("Corvane net player %1\n").arg(QCoreApplication::applicationVersion()));
        return 0;
    case StartRequest::Help: {
        QCommandLineParser parser;
        Describe(parser);
        Print(stdout, parser.helpText());
        return 0;
    }
    case StartRequest::Error:
        Print(stderr, QStringLiteral("Corvane_net_player: %1\nTry --help.\n").arg(Options.Error));
        return 2;
    case StartRequest::Run:
        break;
    }
    return 0;
}

} // namespace app
