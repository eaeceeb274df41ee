#include "RecordingFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTime>
#include <gtest/gtest.h>

using namespace recorder;

namespace {

QByteArray Contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(RecordingFile, HostileTitlesStayInsideTheFolder)
{
    EXPECT_EQ(SafeFileName("'A - B'.mp3"), "'A - B'.mp3");
    EXPECT_EQ(SafeFileName("../../x.mp3"), "_.._x.mp3");
    EXPECT_EQ(SafeFileName("AC/DC - Back in Black.mp3"), "AC_DC - Back in Black.mp3");
    EXPECT_EQ(SafeFileName("..\\..\\win.mp3"), "_.._win.mp3");
    EXPECT_EQ(SafeFileName(QString("a\nb\tc") + QChar(0x85) + "d.mp3"), "a_b_c_d.mp3");
    EXPECT_EQ(SafeFileName(" ...hidden.mp3"), "hidden.mp3");
    EXPECT_EQ(SafeFileName(".mp3"), "");
    EXPECT_EQ(SafeFileName(".."), "");
    EXPECT_EQ(SafeFileName("/"), "_");
    EXPECT_EQ(SafeFileName("typed name"), "typed name"); // no extension is added

    // Too long for the file system: cut, extension kept, never a broken character.
    const QString longTitle = QString(300, QChar(0x00e9)) + ".mp3";
    const QString cut = SafeFileName(longTitle);
    EXPECT_TRUE(cut.endsWith(".mp3"));
    EXPECT_LE(QFile::encodeName(cut).size(), 255 - 7);
    EXPECT_EQ(QString::fromUtf8(QFile::encodeName(cut)), cut);

    QTemporaryDir dir;
    QDir(dir.path()).mkdir("inner");
    const QString folder = dir.filePath("inner");
    RecordingFile file;
    for (const char* title : {"../../escape.mp3", "../escape", "/etc/passwd", "..", ".mp3"}) {
        ASSERT_TRUE(file.CreateOutFile(folder, title, "File1")) << title;
        EXPECT_EQ(QFileInfo(file.FilePath()).absolutePath(), QDir(folder).absolutePath()) << title;
    }
    file.CloseOutFile();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
    EXPECT_TRUE(QFile::exists(QDir(folder).filePath("File1.mp3")));
}

TEST(RecordingFile, ExistingFilesAreNeverTouched)
{
    QTemporaryDir dir;
    const QString first = QDir(dir.path()).filePath("Song.mp3");
    {
        QFile f(first);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("EARLIER");
    }
    RecordingFile file;
    ASSERT_TRUE(file.CreateOutFile(dir.path(), "Song.mp3", "File1"));
    EXPECT_EQ(file.FileName(), "Song (2).mp3");
    ASSERT_TRUE(file.WriteOutFile("NEW"));
    ASSERT_TRUE(file.CreateOutFile(dir.path(), "Song.mp3", "File1"));
    EXPECT_EQ(file.FileName(), "Song (3).mp3");
    ASSERT_TRUE(file.CreateOutFile(dir.path(), "typed", "File1"));
    ASSERT_TRUE(file.CreateOutFile(dir.path(), "typed", "File1"));
    EXPECT_EQ(file.FileName(), "typed (2)");
    file.CloseOutFile();
    EXPECT_EQ(Contents(first), "EARLIER");
    EXPECT_EQ(Contents(QDir(dir.path()).filePath("Song (2).mp3")), "NEW");
    EXPECT_EQ(Contents(QDir(dir.path()).filePath("Song (3).mp3")), "");
}

TEST(RecordingFile, SizeTimeAndDefaultNameTexts)
{
    EXPECT_EQ(SizeText(1023), "Size: 0 kb.");
    EXPECT_EQ(SizeText(1024), "Size: 1 kb.");
    EXPECT_EQ(SizeText(350 * 1024 + 5), "Size: 350 kb.");
    EXPECT_EQ(SizeText(5LL * 1024 * 1024 * 1024), "Size: 5242880 kb.");
    EXPECT_EQ(TimeText(65), "Time: 1:05");
    EXPECT_EQ(TimeText(9), "Time: 0:09");
    EXPECT_EQ(TimeText(3725), "Time: 62:05");
    EXPECT_EQ(DefaultFileName(QTime(12, 34, 56)), "File45296.mp3");
    EXPECT_EQ(DefaultFileName(QTime(12, 34, 56, 600)), "File45297.mp3");
}
