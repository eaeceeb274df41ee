#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ProgramFolder, ExecutablesFolderWhenWritableAndOverridable)
{
    // The test binary's folder is the build tree, which is writable.
    EXPECT_EQ(ProgramFolder(), QCoreApplication::applicationDirPath());
    QTemporaryDir dir;
    OverrideProgramFolder(dir.path());
    EXPECT_EQ(ProgramFolder(), dir.path());
    OverrideProgramFolder({});
    EXPECT_EQ(ProgramFolder(), QCoreApplication::applicationDirPath());
}
