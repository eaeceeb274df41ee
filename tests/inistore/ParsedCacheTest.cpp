// The parsed copies behind the profile reads, from inside the library: a file can only be made
// to keep size, times and inode through a change on kernels without fine-grained timestamps, so
// the copy is planted here instead.

#include "ParsedCache.h"
#include "FileStore.h"
#include "IniFiles.h"

#include <gtest/gtest.h>

using namespace inifiles;
using namespace quillet::detail;

TEST(ParsedCache, CopyReadWithinATickIsConfirmedAgainstTheContent)
{
    TempDir dir;
    const std::string f = dir.File("p.ini");
    WriteBytes(f, "[S]\nk=new\n");
    StatBuf st{};
    ASSERT_EQ(stat(f.c_str(), &st), 0);

    // A copy of other content under the file's exact stamp, as a same-tick rewrite leaves it.
    auto stale = std::make_shared<const IniDocument>("[S]\nk=old\n");
    KeepParsed(f, {StampOf(st), stale, false});
    const Snapshot confirmed = ReadIni(f);
    ASSERT_EQ(confirmed.status, ReadStatus::Ok);
    EXPECT_EQ(confirmed.doc->Text(), "[S]\nk=new\n");
    EXPECT_EQ(ReadIni(f).doc, confirmed.doc) << "the confirmed copy is kept";

    // Trust is taken at its word, which is why it is only given to copies read well after.
    KeepParsed(f, {StampOf(st), stale, true});
    EXPECT_EQ(ReadIni(f).doc, stale);

    // Any write through the library drops the copy.
    ASSERT_TRUE(WriteIni(f, "[S]\nk=written\n"));
    EXPECT_EQ(ReadIni(f).doc->Text(), "[S]\nk=written\n");
}
