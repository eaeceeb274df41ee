// Runs a program to its end for the install and package tests: exit code and both outputs.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <ostream>

// Paths in failures as text rather than as UTF-16 code units.
inline void PrintTo(const QString& Text, std::ostream* Stream)
{
    *Stream << '"' << Text.toStdString() << '"';
}
inline std::ostream& operator<<(std::ostream& Stream, const QString& Text)
{
    return Stream << Text.toStdString();
}

struct Outcome
{
    int code = -1; // -1: did not start, did not finish, or ended by a signal
    QString out;
    QString err;
    std::string all() const { return (out + err).toStdString(); }
};

inline Outcome Execute(const QString& Program, const QStringList& Arguments,
                       const QProcessEnvironment& Env = QProcessEnvironment::systemEnvironment(),
                       int TimeoutMs = 120'000)
{
    QProcess process;
    process.setProcessEnvironment(Env);
    process.start(Program, Arguments);
    Outcome run;
    if (!process.waitForStarted(15'000) || !process.waitForFinished(TimeoutMs)) {
        process.kill();
        process.waitForFinished(5'000);
        run.err = QStringLiteral("did not finish: ") + Program + QLatin1Char(' ') +
                  Arguments.join(QLatin1Char(' '));
        return run;
    }
    run.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}
