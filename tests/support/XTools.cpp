#include "XTools.h"

#include <QProcess>

namespace xtools {
namespace {

bool Xdo(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), args);
    return process.waitForFinished(15000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
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

} // namespace xtools
