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
    const Stamp stamp = StampOf(StatOf(f));

    // A copy of other content under the file's exact stamp, as a same-tick rewrite leaves it.
    auto stale = std::make_shared<const IniDocument>("[S]\nk=old\n");
    KeepParsed(f, {stamp, stale, false});
    const Snapshot confirmed = ReadIni(f);
    ASSERT_EQ(confirmed.status, ReadStatus::Ok);
    EXPECT_EQ(confirmed.doc->Text(), "[S]\nk=new\n");
    EXPECT_EQ(ReadIni(f).doc, confirmed.doc) << "the confirmed copy is kept";

    // The same copy marked trusted is served: the planted copy is really the one looked up.
    KeepParsed(f, {stamp, stale, true});
    EXPECT_EQ(ReadIni(f).doc, stale);
}
