#include "ProgramProcess.h"

#include <QFile>
#include <QStandardPaths>

QStringList VisibleWindowTitles(qint64 Pid)
{
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xdotool.isEmpty())
        return {};
    auto run = [&](const QStringList& Arguments) {
        QProcess process;
        process.start(xdotool, Arguments);
        if (!process.waitForFinished(10'000))
            process.kill();
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    QStringList titles;
    const QStringList windows =
        run({"search", "--all", "--onlyvisible", "--pid", QString::number(Pid), "--name", ""})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& window : windows)
        titles.append(run({"getwindowname", window}).trimmed());
    return titles;
}
