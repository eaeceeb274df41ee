// The INI text engine through its four Win32-named operations, on real files.

#include "IniFiles.h"

#include <quillet/profile.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>

using namespace inifiles;
using quillet::GetPrivateProfileSectionA;
using quillet::GetPrivateProfileStringA;
using quillet::WritePrivateProfileSectionA;
using quillet::WritePrivateProfileStringA;

namespace {

std::string Get(const std::string& file, const char* section, const char* key, const char* def = "")
{
    char buf[2000];
    const uint32_t n = GetPrivateProfileStringA(section, key, def, buf, sizeof buf, file.c_str());
    return std::string(buf, n);
}

// A zero-separated list as returned, with "|" for each zero so that failures read well.
std::string List(const char* buf, uint32_t n)
{
    std::string s(buf, n);
    std::replace(s.begin(), s.end(), '\0', '|');
    return s;
}

std::string Sections(const std::string& file)
{
    char buf[32000];
    return List(buf, GetPrivateProfileStringA(nullptr, "", "", buf, sizeof buf, file.c_str()));
}

std::string Entries(const std::string& file, const char* section)
{
    char buf[32766];
    return List(buf, GetPrivateProfileSectionA(section, buf, sizeof buf, file.c_str()));
}

} // namespace

TEST(IniProfile, ReadingFollowsTheTextRules)
{
    TempDir dir;
    const std::string f = dir.File("a.ini");
    WriteBytes(f, "ok\r\nstray=before any section\r\n"
                  "[Server]\r\n  URL  =  http://h:1/x=y  \r\n; URL=commented\r\n"
                  "Quoted=\"  two  \"\r\nSingle='s'\r\nHalf=\"open\r\n"
                  "URL=second\r\nflag\r\nEmpty=\r\n"
                  "[ server ]\r\nOther=in the duplicate\r\n");
    EXPECT_EQ(Get(f, " SERVER ", " Url "), "http://h:1/x=y");
    EXPECT_EQ(Get(f, "Server", "Quoted"), "  two  ");
    EXPECT_EQ(Get(f, "Server", "Single"), "s");
    EXPECT_EQ(Get(f, "Server", "Half"), "\"open");
    EXPECT_EQ(Get(f, "Server", "; URL", "d"), "d");
    EXPECT_EQ(Get(f, "Server", "flag", "d"), "d");
    EXPECT_EQ(Get(f, "Server", "Empty", "d"), "");
    EXPECT_EQ(Get(f, "Server", "Other", "d"), "d") << "lookups stop at the first section";
    EXPECT_EQ(Get(f, "", "stray", "d"), "d");
    EXPECT_EQ(Get(f, "Missing", "URL", "dflt"), "dflt");
    EXPECT_EQ(Get(dir.File("none.ini"), "Server", "URL", "dflt"), "dflt");

    EXPECT_EQ(Sections(f), "Server|server|");
    EXPECT_EQ(
        Entries(f, "SERVER"),
        "URL=http://h:1/x=y|Quoted=\"  two  \"|Single='s'|Half=\"open|URL=second|flag|Empty=|");
    char buf[100];
    EXPECT_EQ(List(buf, GetPrivateProfileStringA("Server", nullptr, "", buf, 100, f.c_str())),
              "URL|Quoted|Single|Half|URL|Empty|");
}

TEST(IniProfile, EveryKindOfLineBreakReadsTheSame)
{
    TempDir dir;
    const std::string f = dir.File("b.ini");
    for (const std::string nl : {"\r\n", "\n", "\r"}) {
        const std::string body = "[A]" + nl + "k=1" + nl + nl + "[B]" + nl + "k=2";
        for (const std::string& text : {body, body + nl, "\xEF\xBB\xBF" + body}) {
            WriteBytes(f, text);
            EXPECT_EQ(Sections(f), "A|B|");
            EXPECT_EQ(Get(f, "A", "k"), "1");
            EXPECT_EQ(Entries(f, "B"), "k=2|");
        }
    }
}

TEST(IniProfile, BuffersAreCutTheWin32Way)
{
    TempDir dir;
    const std::string f = dir.File("c.ini");
    WriteBytes(f, "[Alpha]\nkey=abcdef\nk2=x\n[Beta]\n");
    char buf[64];

    std::fill(buf, buf + 64, 'Z');
    EXPECT_EQ(GetPrivateProfileStringA("Alpha", "key", "", buf, 4, f.c_str()), 3u);
    EXPECT_EQ(std::string(buf, 4), std::string("abc\0", 4));
    EXPECT_EQ(GetPrivateProfileStringA("Alpha", "nokey", "default", buf, 4, f.c_str()), 3u);
    EXPECT_EQ(std::string(buf), "def");
    EXPECT_EQ(GetPrivateProfileStringA("Alpha", "key", "", buf, 0, f.c_str()), 0u);

    // "Alpha\0Beta\0\0" needs 12 characters.
    EXPECT_EQ(GetPrivateProfileStringA(nullptr, "", "", buf, 12, f.c_str()), 11u);
    std::fill(buf, buf + 64, 'Z');
    EXPECT_EQ(GetPrivateProfileStringA(nullptr, "", "", buf, 11, f.c_str()), 9u);
    EXPECT_EQ(std::string(buf, 11), std::string("Alpha\0Bet\0\0", 11));
    std::fill(buf, buf + 64, 'Z');
    EXPECT_EQ(GetPrivateProfileSectionA("Alpha", buf, 8, f.c_str()), 6u);
    EXPECT_EQ(std::string(buf, 8), std::string("key=ab\0\0", 8));
    EXPECT_EQ(GetPrivateProfileSectionA("Alpha", buf, 1, f.c_str()), 0u);
    EXPECT_EQ(buf[0], '\0');

    std::fill(buf, buf + 64, 'Z');
    EXPECT_EQ(GetPrivateProfileSectionA("Beta", buf, 64, f.c_str()), 0u);
    EXPECT_EQ(std::string(buf, 2), std::string("\0\0", 2));
}

TEST(IniProfile, WritesChangeOnlyTheLinesTheyTouch)
{
    TempDir dir;
    const std::string f = dir.File("d.ini");
    WriteBytes(f, "ok\n; operator's note\n\n[One]\nkey = old \n\n[Two]\nz=1");

    ASSERT_TRUE(WritePrivateProfileStringA("one", "KEY", "new", f.c_str()));
    EXPECT_EQ(ReadBytes(f), "ok\n; operator's note\n\n[One]\nkey =new\n\n[Two]\nz=1");
    ASSERT_TRUE(WritePrivateProfileStringA("One", "added", "v", f.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Two", "y", "2", f.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Three", "x", "3", f.c_str()));
    EXPECT_EQ(ReadBytes(f), "ok\n; operator's note\n\n[One]\nkey =new\nadded=v\r\n\n"
                            "[Two]\nz=1\r\ny=2\r\n[Three]\r\nx=3\r\n");

    WriteBytes(dir.File("bare.ini"), "[S]\nflag  \nnext\n");
    ASSERT_TRUE(WritePrivateProfileStringA("S", "FLAG", "on", dir.File("bare.ini").c_str()));
    EXPECT_EQ(ReadBytes(dir.File("bare.ini")), "[S]\nflag=on\nnext\n");

    ASSERT_TRUE(WritePrivateProfileStringA("One", "key", nullptr, f.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Two", nullptr, nullptr, f.c_str()));
    EXPECT_EQ(ReadBytes(f), "ok\n; operator's note\n\n[One]\nadded=v\r\n\n[Three]\r\nx=3\r\n");

    // Deleting what is not there leaves the file alone, and creates none.
    const ino_t before = StatOf(f).st_ino;
    EXPECT_TRUE(WritePrivateProfileStringA("One", "missing", nullptr, f.c_str()));
    EXPECT_TRUE(WritePrivateProfileStringA("Nope", nullptr, nullptr, f.c_str()));
    EXPECT_EQ(StatOf(f).st_ino, before);
    EXPECT_TRUE(WritePrivateProfileStringA("One", "x", nullptr, dir.File("none.ini").c_str()));
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.ini")));
}

TEST(IniProfile, SectionWritesAndDuplicates)
{
    TempDir dir;
    const std::string f = dir.File("e.ini");
    WriteBytes(f, "[A]\r\na=1\r\n; c\r\nb=2\r\n\r\n[a]\r\nc=3\r\n[B]\r\n");
    const char empty[2] = {'\0', '\0'};
    ASSERT_TRUE(WritePrivateProfileSectionA("B", empty, f.c_str()));
    ASSERT_TRUE(WritePrivateProfileSectionA("New", empty, f.c_str()));
    EXPECT_EQ(Sections(f), "A|a|B|New|");
    ASSERT_TRUE(WritePrivateProfileSectionA("A", "x=9\0y=8\0", f.c_str()));
    EXPECT_EQ(ReadBytes(f), "[A]\r\nx=9\r\ny=8\r\n\r\n[a]\r\nc=3\r\n[B]\r\n[New]\r\n");
    // Every section of the name goes, so that no duplicate takes its place.
    ASSERT_TRUE(WritePrivateProfileStringA("a", nullptr, nullptr, f.c_str()));
    EXPECT_EQ(ReadBytes(f), "[B]\r\n[New]\r\n");
    ASSERT_TRUE(WritePrivateProfileSectionA("New", nullptr, f.c_str()));
    EXPECT_EQ(ReadBytes(f), "[B]\r\n");
}

TEST(IniProfile, LineBreaksAndUnreadableKeysAreRefused)
{
    TempDir dir;
    const std::string f = dir.File("f.ini");
    const std::string original = "[S]\r\nk=v\r\n";
    WriteBytes(f, original);
    for (const char* s : {"a\r\n[Evil]", "a\nb", "a\rb"}) {
        EXPECT_FALSE(WritePrivateProfileStringA(s, "k", "v", f.c_str()));
        EXPECT_FALSE(WritePrivateProfileStringA("S", s, "v", f.c_str()));
        EXPECT_FALSE(WritePrivateProfileStringA("S", "k", s, f.c_str()));
        EXPECT_FALSE(WritePrivateProfileSectionA(s, "", f.c_str()));
    }
    EXPECT_FALSE(WritePrivateProfileSectionA("S", "a=1\0b=2\nc=3\0", f.c_str()));
    for (const char* key : {"a=b", "[Evil]", " ;note"}) {
        EXPECT_FALSE(WritePrivateProfileStringA("S", key, "v", f.c_str())) << key;
    }
    EXPECT_EQ(ReadBytes(f), original);
    EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", ""));
    EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", nullptr));
}

TEST(IniProfile, WritesReplaceTheFileWholeKeepingPermissionsAndLinks)
{
    TempDir dir;
    const std::string f = dir.File("g.ini");
    WriteBytes(f, "[S]\nk=1\n");
    chmod(f.c_str(), 0640);
    const ino_t before = StatOf(f).st_ino;
    ASSERT_TRUE(WritePrivateProfileStringA("S", "k", "2", f.c_str()));
    EXPECT_EQ(StatOf(f).st_mode & 07777, 0640u);
    EXPECT_NE(StatOf(f).st_ino, before) << "written beside and renamed over, never in place";
    EXPECT_EQ(FileCount(dir.Path()), 1) << "no temporary file is left behind";

    const mode_t mask = umask(027);
    ASSERT_TRUE(WritePrivateProfileStringA("S", "k", "v", dir.File("new.ini").c_str()));
    umask(mask);
    EXPECT_EQ(StatOf(dir.File("new.ini")).st_mode & 07777, 0640u);

    ASSERT_EQ(symlink("g.ini", dir.File("link.ini").c_str()), 0);
    ASSERT_TRUE(WritePrivateProfileStringA("S", "k", "3", dir.File("link.ini").c_str()));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.ini")));
    EXPECT_EQ(ReadBytes(f), "[S]\nk=3\n");
}

TEST(IniProfile, WritersOnTwoThreadsKeepEachOthersChanges)
{
    TempDir dir;
    const std::string f = dir.File("t.ini");
    auto writer = [&](const char* section) {
        for (int i = 0; i < 40; ++i) {
            const std::string key = "k" + std::to_string(i);
            EXPECT_NE(WritePrivateProfileStringA(section, key.c_str(), "v", f.c_str()), 0);
        }
    };
    std::thread a(writer, "A");
    writer("B");
    a.join();
    // "k0=v" to "k39=v", each with its zero.
    EXPECT_EQ(Entries(f, "A").size(), 40u * 6 - 10);
    EXPECT_EQ(Entries(f, "B").size(), 40u * 6 - 10);
}
