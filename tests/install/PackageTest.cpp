// The Debian packages, built once by cpack from the build tree (as scripts/package does), then
// checked as Debian would: their file lists, lintian (which also refuses a run path), and apt's
// resolution of their dependencies on a machine with nothing installed. What they hold runs: the
// installed tree's test installs the same files, Quillet's test builds an outside project on them.
#include "Run.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace {

const QStringList& PackageNames()
{
    static const QStringList names{QStringLiteral("corvane-net-player"),
                                   QStringLiteral("libquillet1"), QStringLiteral("libquillet-dev"),
                                   QStringLiteral("corvane-station")};
    return names;
}

QString Tool(const char* Name)
{
    return QStandardPaths::findExecutable(QLatin1String(Name));
}

class Packages : public testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        for (const char* tool : {"dpkg-deb", "dpkg-shlibdeps", "file"})
            if (Tool(tool).isEmpty())
                s_Missing = QStringLiteral("%1 is missing (scripts/install-deps installs it)")
                                .arg(QLatin1String(tool));
        if (!s_Missing.isEmpty()) {
            // ctest reads this line and reports the test as skipped.
            std::printf("cannot build Debian packages here: %s\n", qPrintable(s_Missing));
            return;
        }
        const QString build = qEnvironmentVariable("CORVANE_BINARY_DIR");
        s_Dir = build + QStringLiteral("/tests/packages");
        QDir(s_Dir).removeRecursively();
        s_Build = Execute(QStringLiteral(CORVANE_CPACK),
                          {QStringLiteral("--config"), build + QStringLiteral("/CPackConfig.cmake"),
                           QStringLiteral("-B"), s_Dir},
                          QProcessEnvironment::systemEnvironment(), 600'000);
        for (const QString& name : PackageNames()) {
            const QStringList found = QDir(s_Dir).entryList(
                {QStringLiteral("%1_%2_*.deb").arg(name, QStringLiteral(CORVANE_VERSION))},
                QDir::Files);
            if (found.size() == 1)
                s_Debs[name] = s_Dir + QLatin1Char('/') + found.front();
        }
    }

    void SetUp() override
    {
        if (!s_Missing.isEmpty())
            GTEST_SKIP() << s_Missing.toStdString();
        ASSERT_EQ(s_Build.code, 0) << s_Build.all();
        ASSERT_EQ(s_Debs.size(), size_t(PackageNames().size())) << s_Build.all();
    }

    static QString Deb(const QString& Name) { return s_Debs.at(Name); }
    static QStringList AllDebs()
    {
        QStringList debs;
        for (const auto& [name, deb] : s_Debs)
            debs.append(deb);
        return debs;
    }
    static QString Field(const QString& Name, const char* Key)
    {
        return Execute(QStringLiteral("dpkg-deb"),
                       {QStringLiteral("--field"), Deb(Name), QLatin1String(Key)})
            .out.trimmed();
    }
    // "path" for a file, "path -> target" for a link, without the leading "./".
    static QStringList Contents(const QString& Name)
    {
        QStringList paths;
        const Outcome list =
            Execute(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), Deb(Name)});
        static const QRegularExpression entry(
            QStringLiteral(R"(^[-l]\S+ \S+ +\d+ \S+ \S+ \./(.*)$)"),
            QRegularExpression::MultilineOption);
        for (auto it = entry.globalMatch(list.out); it.hasNext();)
            paths.append(it.next().captured(1));
        return paths;
    }

    static inline QString s_Missing;
    static inline QString s_Dir;
    static inline Outcome s_Build;
    static inline std::map<QString, QString> s_Debs;
};

TEST_F(Packages, HoldWhatTheyAreForUnderUsrOnly)
{
    std::map<QString, QStringList> files;
    for (const QString& name : PackageNames()) {
        files[name] = Contents(name);
        for (const QString& path : files[name]) {
            EXPECT_TRUE(path.startsWith(QStringLiteral("usr/"))) << name << ": " << path;
            // Nothing of the build tree: no test or review programs, no portable marker, no
            // station data made by a run.
            static const QRegularExpression foreign(QStringLiteral(
                "portable|station-data|_tests?\\b|render-windows|gallery|bench|/tests?/|\\.a$"));
            EXPECT_FALSE(path.contains(foreign)) << name << ": " << path;
        }
    }
    const auto has = [&files](const QString& name, const QString& path) {
        return files[name].contains(path);
    };
    EXPECT_TRUE(
        has(QStringLiteral("corvane-net-player"), QStringLiteral("usr/bin/corvane-record")));
    EXPECT_TRUE(has(QStringLiteral("corvane-station"),
                    QStringLiteral("usr/share/corvane-station/site/Settings/Channel.ini")));

    // The library by its SONAME in the run-time package; the link a linker uses, the headers and
    // the CMake package in the development package.
    const QString lib = QStringLiteral("usr/%1/").arg(QStringLiteral(CORVANE_LIBDIR));
    const QString library = QStringLiteral("libquillet1");
    const QString dev = QStringLiteral("libquillet-dev");
    EXPECT_TRUE(has(library, lib + QStringLiteral("libQuillet.so.1 -> libQuillet.so.1.0.0")))
        << files[library].join(QLatin1Char('\n'));
    EXPECT_TRUE(has(library, lib + QStringLiteral("libQuillet.so.1.0.0")));
    EXPECT_TRUE(has(dev, lib + QStringLiteral("libQuillet.so -> libQuillet.so.1")))
        << files[dev].join(QLatin1Char('\n'));
    EXPECT_TRUE(has(dev, QStringLiteral("usr/include/quillet/OrvaINIManager.h")));
    EXPECT_TRUE(has(dev, lib + QStringLiteral("cmake/Quillet/QuilletConfig.cmake")));
    for (const QString& path : files[library])
        EXPECT_FALSE(path.startsWith(QStringLiteral("usr/include")) ||
                     path.endsWith(".so -> libQuillet.so.1"))
            << path;

    // Our own library by exact version; the web engine, which only the module the player loads at
    // run time links; the station's ffmpeg, which it runs. (The apt test resolves the rest.)
    const QString version =
        QStringLiteral("libquillet1 (= %1)").arg(QStringLiteral(CORVANE_VERSION));
    const QString player = Field(QStringLiteral("corvane-net-player"), "Depends");
    EXPECT_TRUE(player.contains(version) &&
                player.contains(QStringLiteral("libqt6webenginewidgets6")))
        << player;
    EXPECT_TRUE(Field(dev, "Depends").contains(version));
    EXPECT_TRUE(
        Field(QStringLiteral("corvane-station"), "Depends").contains(QStringLiteral("ffmpeg")));
}

TEST_F(Packages, LintianFindsNoErrors)
{
    const QString lintian = Tool("lintian");
    if (lintian.isEmpty())
        GTEST_SKIP() << "lintian is missing (scripts/install-deps installs it)";
    const Outcome check =
        Execute(lintian, QStringList{QStringLiteral("--no-tag-display-limit")} + AllDebs(),
                QProcessEnvironment::systemEnvironment(), 600'000);
    std::printf("lintian:\n%s", qPrintable(check.out + check.err));
    static const QRegularExpression error(QStringLiteral("^E: "),
                                          QRegularExpression::MultilineOption);
    EXPECT_FALSE(check.out.contains(error)) << check.all();
    // 2: errors found; 1: lintian itself failed.
    EXPECT_EQ(check.code, 0) << check.all();
}

// apt resolves every dependency from the archive on a machine where nothing is installed yet
// (an empty dpkg status), without recommended packages: the Depends alone make it run.
TEST_F(Packages, InstallWithTheirDependenciesOnABareMachine)
{
    if (Tool("apt-get").isEmpty())
        GTEST_SKIP() << "apt-get is missing";
    if (QDir(QStringLiteral("/var/lib/apt/lists"))
            .entryList({QStringLiteral("*_Packages*")}, QDir::Files)
            .isEmpty())
        GTEST_SKIP() << "apt has no package lists (apt-get update)";
    QTemporaryDir state;
    QFile empty(state.filePath(QStringLiteral("status")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    const Outcome bare =
        Execute(QStringLiteral("apt-get"),
                QStringList{QStringLiteral("install"), QStringLiteral("--simulate"),
                            QStringLiteral("--no-install-recommends"), QStringLiteral("-o"),
                            QStringLiteral("Dir::State::status=") + empty.fileName(),
                            QStringLiteral("-o"), QStringLiteral("Debug::NoLocking=1")} +
                    AllDebs(),
                QProcessEnvironment::systemEnvironment(), 600'000);
    ASSERT_EQ(bare.code, 0) << bare.all();
    for (const char* package : {"corvane-net-player", "corvane-station", "libquillet-dev",
                                "libmpv2", "qt6-qpa-plugins", "libqt6webenginecore6-bin", "ffmpeg"})
        EXPECT_TRUE(bare.out.contains(QStringLiteral("\nInst %1 ").arg(QLatin1String(package))))
            << package << " would not be installed:\n"
            << bare.out.right(3000).toStdString();
}

} // namespace
