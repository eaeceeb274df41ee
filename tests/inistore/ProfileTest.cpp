// The INI text engine through its four Win32-named operations, on real files.

#include "IniFiles.h"

#include <quillet/profile.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
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
    for (char& c : s) {
        c = c == '\0' ? '|' : c;
    }
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

ino_t Inode(const std::string& path)
{
    struct stat st
    {
    };
    stat(path.c_str(), &st);
    return st.st_ino;
}

} // namespace

TEST(IniProfile, ReadingFollowsTheTextRules)
{
    TempDir dir;
    const std::string f = dir.File("a.ini");
    WriteBytes(f, "ok\r\nstray=before any section\r\n"
                  "[Server]\r\n"
                  "  URL  =  http://h:1/x=y  \r\n"
                  "; URL=commented\r\n"
                  "Quoted=\"  two  \"\r\n"
                  "Single='s'\r\n"
                  "Half=\"open\r\n"
                  "URL=second\r\n"
                  "flag\r\n"
                  "Empty=\r\n"
                  "[ server ]\r\n"
                  "Other=in the duplicate\r\n");
    EXPECT_EQ(Get(f, "server", "url"), "http://h:1/x=y");
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
            EXPECT_EQ(Get(f, "B", "k"), "2");
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
    EXPECT_EQ(GetPrivateProfileSectionA("Alpha", buf, 64, dir.File("none.ini").c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileStringA(nullptr, "", "", buf, 64, dir.File("none").c_str()), 0u);
}

TEST(IniProfile, WritesChangeOnlyTheLinesTheyTouch)
{
    TempDir dir;
    const std::string f = dir.File("d.ini");
    const std::string head = "ok\n; operator's note\n\n[One]\nkey = old \n";
    WriteBytes(f, head + "\n[Two]\nz=1");

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

    // Deleting what is not there, or writing the value that is there, leaves the file alone.
    const ino_t before = Inode(f);
    EXPECT_TRUE(WritePrivateProfileStringA("One", "missing", nullptr, f.c_str()));
    EXPECT_TRUE(WritePrivateProfileStringA("Nope", nullptr, nullptr, f.c_str()));
    EXPECT_TRUE(WritePrivateProfileStringA("One", "added", "v", f.c_str()));
    EXPECT_EQ(Inode(f), before);
    EXPECT_TRUE(WritePrivateProfileStringA("One", "x", nullptr, dir.File("none.ini").c_str()));
    EXPECT_FALSE(Exists(dir.File("none.ini")));
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
    const char* bad[] = {"a\r\n[Evil]", "a\nb", "a\rb"};
    for (const char* s : bad) {
        EXPECT_FALSE(WritePrivateProfileStringA(s, "k", "v", f.c_str()));
        EXPECT_FALSE(WritePrivateProfileStringA("S", s, "v", f.c_str()));
        EXPECT_FALSE(WritePrivateProfileStringA("S", "k", s, f.c_str()));
        EXPECT_FALSE(WritePrivateProfileStringA("S", s, nullptr, f.c_str()));
        EXPECT_FALSE(WritePrivateProfileStringA(s, nullptr, nullptr, f.c_str()));
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
    const ino_t before = Inode(f);
    ASSERT_TRUE(WritePrivateProfileStringA("S", "k", "2", f.c_str()));
    struct stat st
    {
    };
    ASSERT_EQ(stat(f.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_NE(st.st_ino, before) << "written beside and renamed over, never in place";
    EXPECT_EQ(dir.Listing(), "g.ini\n") << "no temporary file is left behind";

    const mode_t mask = umask(027);
    ASSERT_TRUE(WritePrivateProfileStringA("S", "k", "v", dir.File("new.ini").c_str()));
    umask(mask);
    ASSERT_EQ(stat(dir.File("new.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    ASSERT_EQ(symlink("g.ini", dir.File("link.ini").c_str()), 0);
    ASSERT_TRUE(WritePrivateProfileStringA("S", "k", "3", dir.File("link.ini").c_str()));
    ASSERT_EQ(lstat(dir.File("link.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadBytes(f), "[S]\nk=3\n");
}

TEST(IniProfile, FailedWritesLeaveEverythingAsItWas)
{
    TempDir dir;
    const std::string f = dir.File("h.ini");
    const std::string original = "[S]\nk=1\n";
    WriteBytes(f, original);

    // A path through a file, and a folder where the file should be.
    EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "2", (f + "/x.ini").c_str()));
    ASSERT_EQ(mkdir(dir.File("folder.ini").c_str(), 0755), 0);
    EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "2", dir.File("folder.ini").c_str()));

    // A writable file in a read-only folder; a read-only and an unreadable file in a folder
    // open to all, where a new file can be written.
    const std::string locked = dir.File("locked");
    const std::string shared = dir.File("shared");
    ASSERT_EQ(mkdir(locked.c_str(), 0755), 0);
    ASSERT_EQ(mkdir(shared.c_str(), 0755), 0);
    const std::string inLocked = locked + "/open.ini";
    const std::string readOnly = shared + "/ro.ini";
    const std::string unreadable = shared + "/secret.ini";
    for (const auto& [path, mode] :
         {std::pair{inLocked, 0666}, {readOnly, 0444}, {unreadable, 0222}}) {
        WriteBytes(path, original);
        chmod(path.c_str(), static_cast<mode_t>(mode));
    }
    chmod(locked.c_str(), 0555);
    chmod(shared.c_str(), 0777);
    const int rc = RunUnprivileged([&] {
        int wrong = 0;
        wrong += WritePrivateProfileStringA("S", "k", "2", inLocked.c_str()) != 0;
        wrong += WritePrivateProfileStringA("S", nullptr, nullptr, inLocked.c_str()) != 0;
        wrong += WritePrivateProfileStringA("S", "k", "2", readOnly.c_str()) != 0;
        wrong += WritePrivateProfileStringA("S", "k", "2", unreadable.c_str()) != 0;
        wrong += WritePrivateProfileStringA("S", "k", "2", (shared + "/new.ini").c_str()) == 0;
        return wrong;
    });
    if (rc == kCannotDropRoot) {
        GTEST_SKIP() << "running as root without the right to become another user";
    }
    EXPECT_EQ(rc, 0);
    chmod(unreadable.c_str(), 0644);
    for (const std::string& path : {inLocked, readOnly, unreadable}) {
        EXPECT_EQ(ReadBytes(path), original) << path;
    }
    chmod(locked.c_str(), 0755);
    size_t files = 0;
    for (const std::string& folder : {locked, shared}) {
        files += static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                   std::filesystem::directory_iterator()));
    }
    EXPECT_EQ(files, 4u) << "no temporary file is left behind";
    EXPECT_EQ(ReadBytes(shared + "/new.ini"), "[S]\r\nk=2\r\n");
}

TEST(IniProfile, ReadsSeeChangesThatKeepSizeTimeAndInode)
{
    TempDir dir;
    const std::string f = dir.File("i.ini");
    WriteBytes(f, "[S]\nk=aaaa\n");
    EXPECT_EQ(Get(f, "S", "k"), "aaaa");
    struct stat st
    {
    };
    ASSERT_EQ(stat(f.c_str(), &st), 0);

    // Rewritten in place at once, modification time put back: size, times and inode may all be
    // as before (the change time moves only once per clock tick), so only the content tells.
    WriteBytes(f, "[S]\nk=bbbb\n");
    const timespec times[2] = {st.st_atim, st.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, f.c_str(), times, 0), 0);
    struct stat again
    {
    };
    ASSERT_EQ(stat(f.c_str(), &again), 0);
    ASSERT_EQ(again.st_ino, st.st_ino);
    EXPECT_EQ(Get(f, "S", "k"), "bbbb");

    // Replaced by another file of the same size and time.
    const std::string other = dir.File("other.ini");
    WriteBytes(other, "[S]\nk=cccc\n");
    ASSERT_EQ(utimensat(AT_FDCWD, other.c_str(), times, 0), 0);
    ASSERT_EQ(rename(other.c_str(), f.c_str()), 0);
    EXPECT_EQ(Get(f, "S", "k"), "cccc");

    // An old file is trusted on its stamp; a real change still moves the stamp.
    const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, f.c_str(), old, 0), 0);
    EXPECT_EQ(Get(f, "S", "k"), "cccc");
    WriteBytes(f, "[S]\nk=dd\n");
    EXPECT_EQ(Get(f, "S", "k"), "dd");
    unlink(f.c_str());
    EXPECT_EQ(Get(f, "S", "k", "gone"), "gone");
}

TEST(IniProfile, WritersOnTwoThreadsKeepEachOthersChanges)
{
    TempDir dir;
    const std::string f = dir.File("t.ini");
    auto writer = [&](const char* section) {
        for (int i = 0; i < 40; ++i) {
            const std::string key = "k" + std::to_string(i);
            WritePrivateProfileStringA(section, key.c_str(), "v", f.c_str());
        }
    };
    std::thread a(writer, "A");
    std::thread b(writer, "B");
    a.join();
    b.join();
    char buf[4000];
    EXPECT_EQ(GetPrivateProfileSectionA("A", buf, sizeof buf, f.c_str()), 40u * 6 - 10);
    EXPECT_EQ(GetPrivateProfileSectionA("B", buf, sizeof buf, f.c_str()), 40u * 6 - 10);
}
