#include "SiteRenderer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
bool IsTemplate(const QString& path)
{
    static const QStringList kinds = {"ini", "html", "htm", "css", "js", "txt"};
    return kinds.contains(QFileInfo(path).suffix().toLower());
}

bool IsOperatorEdited(const QString& relative)
{
    return relative.compare(QStringLiteral("Settings/Message.ini"), Qt::CaseInsensitive) == 0;
}
} // namespace

QByteArray RenderTemplate(const QByteArray& text, const QMap<QByteArray, QByteArray>& values)
{
    QByteArray out;
    out.reserve(text.size());
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf('@', pos);
        const qsizetype close = open < 0 ? -1 : text.indexOf('@', open + 1);
        if (close < 0) {
            out.append(text.mid(pos));
            break;
        }
        const QByteArray name = text.mid(open + 1, close - open - 1);
        const auto found = values.constFind(name);
        if (found == values.constEnd()) {
            // Not ours (an e-mail address, say): keep the first '@' and look again from the second.
            out.append(text.mid(pos, close - pos));
            pos = close;
            continue;
        }
        out.append(text.mid(pos, open - pos));
        out.append(*found);
        pos = close + 1;
    }
    return out;
}

bool RenderSite(const QString& siteDir, const QString& wwwDir,
                const QMap<QByteArray, QByteArray>& values, QString& error)
{
    if (!QFileInfo(siteDir).isDir()) {
        error = QStringLiteral("the station's site folder %1 is missing").arg(siteDir);
        return false;
    }
    const QDir site(siteDir);
    QDirIterator it(siteDir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = site.relativeFilePath(source);
        const QString target = QDir(wwwDir).filePath(relative);
        if (IsOperatorEdited(relative) && QFileInfo::exists(target))
            continue;
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("cannot read %1").arg(source);
            return false;
        }
        QByteArray body = in.readAll();
        if (IsTemplate(source))
            body = RenderTemplate(body, values);
        QDir().mkpath(QFileInfo(target).absolutePath());
        QSaveFile out(target);
        if (!out.open(QIODevice::WriteOnly) || out.write(body) != body.size() || !out.commit()) {
            error = QStringLiteral("cannot write %1").arg(target);
            return false;
        }
    }
    return true;
}

QString MessageFileIn(const QString& wwwDir)
{
    return QDir(wwwDir).filePath(QStringLiteral("Settings/Message.ini"));
}
