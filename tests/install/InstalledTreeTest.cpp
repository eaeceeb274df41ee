// `cmake --install` into a temporary prefix gives a program that runs from there: its library
// through the run path, its own folder per user unless the tree is marked portable, and desktop
// files the desktop's own validators accept.
#include "ProgramFolder.h"
#include "Run.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A user of the installed program: a home of their own, nothing from the build's environment
// that could find the library for the program.
QProcessEnvironment UserEnvironment(const QString& Home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LD_LIBRARY_PATH"));
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    env.insert(QStringLiteral("HOME"), Home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

} // namespace

TEST(ProgramFolder, OnlyAPortableMarkerFileKeepsTheFilesBesideTheProgram)
{
    QTemporaryDir bin;
    const QString data = bin.filePath(QStringLiteral("data/Corvane/Corvane_net_player"));
    // Writable, yet no marker: the per-user folder (an installed program run as root).
    EXPECT_EQ(core::ChooseProgramFolder(bin.path(), data), data);
    ASSERT_TRUE(QDir(bin.path()).mkdir(QStringLiteral("portable")));
    EXPECT_EQ(core::ChooseProgramFolder(bin.path(), data), data);
    ASSERT_TRUE(QDir(bin.path()).rmdir(QStringLiteral("portable")));
    QFile marker(bin.filePath(QStringLiteral("portable")));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    EXPECT_EQ(core::ChooseProgramFolder(bin.path() + QStringLiteral("/"), data), bin.path());
    // Read-only and marked: still portable (a tree on a read-only stick is the user's choice).
    ASSERT_TRUE(QFile::setPermissions(bin.path(), QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_EQ(core::ChooseProgramFolder(bin.path(), data), bin.path());
    QFile::setPermissions(bin.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(core::ChooseProgramFolder(QString(), data), data);
}

TEST(InstalledTree, RunsFromAFreshPrefixWithItsDesktopFiles)
{
    QTemporaryDir prefix;
    QTemporaryDir home;
    const Outcome install =
        Execute(QStringLiteral(CORVANE_CMAKE),
                {QStringLiteral("--install"), qEnvironmentVariable("CORVANE_BINARY_DIR"),
                 QStringLiteral("--prefix"), prefix.path()});
    ASSERT_EQ(install.code, 0) << install.out.toStdString() << install.err.toStdString();
    const QDir root(prefix.path());
    const QString bin = root.filePath(QStringLiteral("bin"));
    const QString program = bin + QStringLiteral("/Corvane_net_player");
    const QString lib = root.filePath(QStringLiteral(CORVANE_LIBDIR));
    ASSERT_TRUE(QFileInfo(program).isExecutable());
    EXPECT_FALSE(QFile::exists(bin + QStringLiteral("/portable")))
        << "the build's marker was installed";
    // The chime and the translations are where the installed program looks, whatever the prefix.
    EXPECT_TRUE(QFile::exists(core::InstalledDataFolder(bin) + QStringLiteral("/msg.wav")));
    EXPECT_TRUE(QFile::exists(core::InstalledDataFolder(bin) +
                              QStringLiteral("/translations/corvane_de.qm")));
    // The web module beside the libraries, where the program looks for it; no program links it.
    EXPECT_TRUE(QFile::exists(lib + QStringLiteral("/corvane/corvane-webpages.so")));

    // The library comes from the prefix, found through the run path.
    const QProcessEnvironment user = UserEnvironment(home.path());
    for (const QString& name :
         {QStringLiteral("Corvane_net_player"), QStringLiteral("corvane-record")}) {
        const Outcome ldd = Execute(QStringLiteral("ldd"), {bin + QLatin1Char('/') + name}, user);
        EXPECT_FALSE(ldd.out.contains(QStringLiteral("WebEngine"))) << name.toStdString();
        const QRegularExpression line(QStringLiteral(R"(libQuillet\.so\.\d+ => (\S+))"));
        const auto match = line.match(ldd.out);
        // corvane-record may not need the library at all (the linker drops what is unused).
        if (!match.hasMatch() && name != QLatin1String("Corvane_net_player"))
            continue;
        ASSERT_TRUE(match.hasMatch()) << ldd.out.toStdString();
        EXPECT_EQ(QFileInfo(QFileInfo(match.captured(1)).canonicalFilePath()).path(),
                  QFileInfo(lib).canonicalFilePath())
            << name.toStdString() << ": " << ldd.out.toStdString();
    }
    const Outcome version = Execute(program, {QStringLiteral("--version")}, user);
    EXPECT_EQ(version.code, 0) << version.err.toStdString();
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("Corvane net player ")))
        << version.out.toStdString();

    // Installed: the per-user data folder, made on first use; nothing lands beside the program.
    const Outcome folder = Execute(program, {QStringLiteral("--print-folder")}, user);
    const QString perUser =
        home.filePath(QStringLiteral(".local/share/Corvane/Corvane_net_player"));
    EXPECT_EQ(folder.out.trimmed(), perUser) << folder.err.toStdString();
    EXPECT_TRUE(QFileInfo(perUser).isDir());

    // The menu entry starts the installed program; the icon it names is in the theme.
    const QString desktop =
        root.filePath(QStringLiteral("share/applications/org.corvane.NetPlayer.desktop"));
    QFile entry(desktop);
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=") + program + QLatin1Char('\n')))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nIcon=corvane\n")));
    EXPECT_EQ(
        QImage(root.filePath(QStringLiteral("share/icons/hicolor/48x48/apps/corvane.png"))).size(),
        QSize(48, 48));
    const QString metainfo =
        root.filePath(QStringLiteral("share/metainfo/org.corvane.NetPlayer.metainfo.xml"));
    ASSERT_TRUE(QFile::exists(metainfo));
    // Debian's own files are the packages' alone.
    EXPECT_FALSE(QFileInfo::exists(root.filePath(QStringLiteral("share/doc"))));

    const QString desktopValidator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    const QString appstream = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    if (desktopValidator.isEmpty() || appstream.isEmpty())
        GTEST_SKIP() << "desktop-file-validate or appstreamcli missing (scripts/install-deps)";
    const Outcome entryCheck = Execute(desktopValidator, {desktop});
    EXPECT_EQ(entryCheck.code, 0) << entryCheck.out.toStdString() << entryCheck.err.toStdString();
    EXPECT_TRUE(entryCheck.out.trimmed().isEmpty()) << entryCheck.out.toStdString();
    const Outcome infoCheck =
        Execute(appstream, {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
    EXPECT_EQ(infoCheck.code, 0) << infoCheck.out.toStdString() << infoCheck.err.toStdString();
}
