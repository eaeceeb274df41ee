#include "XTools.h"

#include <QProcess>
#include <optional>

namespace xtools {
namespace {

std::optional<QString> Run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(15000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

bool Xdo(const QStringList& args)
{
    return Run("xdotool", args).has_value();
}

QString Number(int n)
{
    return QString::number(n);
}

} // namespace

bool MoveTo(QPoint global)
{
    return Xdo({"mousemove", Number(global.x()), Number(global.y())});
}

bool Button(int button, bool down)
{
    return Xdo({down ? "mousedown" : "mouseup", Number(button)});
}

bool Click(int button, int repeat)
{
    return Xdo({"click", "--repeat", Number(repeat), "--delay", "80", Number(button)});
}

QRect AbsoluteGeometry(unsigned long window)
{
    const QString report = Run("xwininfo", {"-id", QString::number(window)}).value_or(QString());
    if (!report.contains("IsViewable"))
        return {};
    // Lines such as "  Absolute upper-left X:  1702" and "  Width: 24".
    auto value = [&](const QString& label) {
        const int at = report.indexOf(label + ":");
        return at < 0 ? 0 : report.mid(at + label.size() + 1).section('\n', 0, 0).trimmed().toInt();
    };
    return QRect(value("Absolute upper-left X"), value("Absolute upper-left Y"), value("  Width"),
                 value("  Height"));
}

} // namespace xtools
