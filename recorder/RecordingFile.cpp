#include "RecordingFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace recorder {
namespace {

// Most Linux file systems allow 255 bytes per name; keep room for " (9999)".
constexpr int kMaxNameBytes = 255 - 7;
// Gathered audio goes to the file at the latest when this much is waiting.
constexpr std::size_t kFlushBytes = 1024 * 1024;

bool Unsafe(QChar c)
{
    const auto u = c.unicode();
    return c == u'/' || c == u'\\' || u < 0x20 || (u >= 0x7f && u < 0xa0);
}

// ".mp3" and the like: a short run of letters and digits after the last dot.
qsizetype ExtensionStart(const QString& name)
{
    const auto dot = name.lastIndexOf(u'.');
    if (dot < 0 || name.size() - dot > 9 || dot == name.size() - 1)
        return name.size();
    for (auto i = dot + 1; i < name.size(); ++i)
        if (!name[i].isLetterOrNumber() || name[i].unicode() > 0x7f)
            return name.size();
    return dot;
}

QString Candidate(const QString& stem, const QString& ext, int n)
{
    return n == 1 ? stem + ext : QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(ext);
}

} // namespace

QString SafeFileName(const QString& name)
{
    const auto extAt = ExtensionStart(name);
    QString stem = name.left(extAt);
    const QString ext = name.mid(extAt);
    for (auto& c : stem)
        if (Unsafe(c))
            c = u'_';
    qsizetype first = 0;
    while (first < stem.size() && (stem[first] == u'.' || stem[first].isSpace()))
        ++first;
    stem = stem.mid(first);
    while (!stem.isEmpty() && QFile::encodeName(stem + ext).size() > kMaxNameBytes)
        stem.chop(stem.size() >= 2 && stem[stem.size() - 1].isLowSurrogate() ? 2 : 1);
    return stem.isEmpty() ? QString() : stem + ext;
}

QString DefaultRecordFolder()
{
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (!music.isEmpty() && QDir().mkpath(music))
        return music;
    return QDir::homePath();
}

QString DefaultFileName(const QTime& now)
{
    const auto seconds = (now.msecsSinceStartOfDay() + 500) / 1000;
    return QStringLiteral("File%1.mp3").arg(seconds);
}

QString SizeText(qint64 bytes)
{
    return QCoreApplication::translate("recorder::frmRecord", "Size: %1 kb.").arg(bytes / 1024);
}

QString TimeText(qint64 seconds)
{
    return QCoreApplication::translate("recorder::frmRecord", "Time: %1:%2")
        .arg(seconds / 60)
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

bool RecordingFile::CreateOutFile(const QString& folder, const QString& name,
                                  const QString& fallbackStem)
{
    CloseOutFile();
    lBytesWritten = 0;
    dStartTime = QDateTime::currentDateTime();
    m_Error.clear();
    QString safe = SafeFileName(name);
    if (safe.isEmpty())
        safe = SafeFileName(fallbackStem + name.mid(ExtensionStart(name)));
    const auto extAt = ExtensionStart(safe);
    const QString stem = safe.left(extAt);
    const QString ext = safe.mid(extAt);
    const QDir dir(folder.isEmpty() ? DefaultRecordFolder() : folder);
    for (int n = 1; n < 10000; ++n) {
        const QString path = dir.filePath(Candidate(stem, ext, n));
        iFileNum.setFileName(path);
        // NewOnly: an existing recording is never opened, so never overwritten or appended to.
        if (iFileNum.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            m_Path = path;
            m_Name = Candidate(stem, ext, n);
            return true;
        }
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink()) {
            m_Error = QCoreApplication::translate("recorder::RecordingFile", "cannot create %1: %2")
                          .arg(path, iFileNum.errorString());
            return false;
        }
    }
    m_Error =
        QCoreApplication::translate("recorder::RecordingFile", "no free file name for %1 in %2")
            .arg(safe, dir.path());
    return false;
}

bool RecordingFile::WriteOutFile(std::string_view sBuff)
{
    if (!IsOpen())
        return true;
    m_Pending.append(sBuff);
    lBytesWritten += static_cast<qint64>(sBuff.size());
    return m_Pending.size() < kFlushBytes || Flush();
}

bool RecordingFile::Flush()
{
    if (!IsOpen() || m_Pending.empty())
        return true;
    const auto size = static_cast<qint64>(m_Pending.size());
    qint64 done = 0;
    // After a short write the rest is tried again, so a full disk or a size limit gives its reason.
    while (done < size) {
        const qint64 n = iFileNum.write(m_Pending.data() + done, size - done);
        if (n <= 0)
            break;
        done += n;
    }
    const bool written = done == size;
    m_Pending.clear();
    if (!written) {
        m_Error = QCoreApplication::translate("recorder::RecordingFile", "cannot write %1: %2")
                      .arg(m_Path, iFileNum.errorString());
        iFileNum.close();
    }
    return written;
}

void RecordingFile::CloseOutFile()
{
    if (!IsOpen())
        return;
    Flush();
    iFileNum.close();
}

qint64 RecordingFile::ElapsedSeconds(const QDateTime& now) const
{
    // Second boundaries crossed, as the clock shows them, not the rounded difference.
    return dStartTime.isValid() ? now.toSecsSinceEpoch() - dStartTime.toSecsSinceEpoch() : 0;
}

} // namespace recorder
