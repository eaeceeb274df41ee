#include "XTools.h"

#include <QDebug>
#include <QProcess>

namespace xtools {

bool Xdo(const QStringList& args)
{
    QProcess xdo;
    xdo.start(QStringLiteral("xdotool"), args);
    return xdo.waitForFinished(15000) && xdo.exitStatus() == QProcess::NormalExit &&
           xdo.exitCode() == 0;
}

bool MoveTo(QPoint global)
{
    return Xdo({"mousemove", QString::number(global.x()), QString::number(global.y())});
}

bool Press(int button)
{
    return Xdo({"mousedown", QString::number(button)});
}

bool Release(int button)
{
    return Xdo({"mouseup", QString::number(button)});
}

bool Click(int button, int repeat)
{
    return Xdo(
        {"click", "--repeat", QString::number(repeat), "--delay", "80", QString::number(button)});
}

QString Property(unsigned long window, const QString& property)
{
    QProcess xprop;
    QStringList args{"-id", QString::number(window)};
    if (!property.isEmpty())
        args << property;
    xprop.start(QStringLiteral("xprop"), args);
    if (!xprop.waitForFinished(15000) || xprop.exitCode() != 0) {
        qWarning() << "xprop" << args << xprop.readAllStandardError() << xprop.error();
        return {};
    }
    return QString::fromLocal8Bit(xprop.readAllStandardOutput());
}

QString ShapeReport(unsigned long window)
{
    QProcess xwininfo;
    xwininfo.start(QStringLiteral("xwininfo"), {"-id", QString::number(window), "-shape"});
    if (!xwininfo.waitForFinished(15000) || xwininfo.exitCode() != 0)
        return {};
    const QString report = QString::fromLocal8Bit(xwininfo.readAllStandardOutput());
    const int shape = report.indexOf("shape");
    return shape < 0 ? QString() : report.mid(report.lastIndexOf(QChar('\n'), shape) + 1);
}

QRect AbsoluteGeometry(unsigned long window)
{
    QProcess xwininfo;
    xwininfo.start(QStringLiteral("xwininfo"), {"-id", QString::number(window)});
    if (!xwininfo.waitForFinished(15000) || xwininfo.exitCode() != 0)
        return {};
    int x = 0, y = 0, width = 0, height = 0;
    const QString report = QString::fromLocal8Bit(xwininfo.readAllStandardOutput());
    if (!report.contains("IsViewable"))
        return {};
    for (const QString& line : report.split('\n')) {
        const QString value = line.section(':', 1).trimmed();
        if (line.contains("Absolute upper-left X"))
            x = value.toInt();
        else if (line.contains("Absolute upper-left Y"))
            y = value.toInt();
        else if (line.trimmed().startsWith("Width:"))
            width = value.toInt();
        else if (line.trimmed().startsWith("Height:"))
            height = value.toInt();
    }
    return QRect(x, y, width, height);
}

} // namespace xtools
