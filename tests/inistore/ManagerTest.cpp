// OrvaINIManager and its collections on real files.

#include "IniFiles.h"

#include <quillet/OrvaINIManager.h>

#include <gtest/gtest.h>

#include <fcntl.h>

using namespace inifiles;
using quillet::OrvaINIManager;

namespace {

std::shared_ptr<OrvaINIManager> Bound(const std::string& path)
{
    auto manager = std::make_shared<OrvaINIManager>();
    manager->setINIFile(path);
    return manager;
}

std::string Names(const std::shared_ptr<quillet::clsValues>& values)
{
    std::string names;
    for (int32_t i = 1; i <= values->Count(); ++i) {
        names += values->Item(i)->Name() + "=" + values->Item(i)->Value() + ";";
    }
    return names;
}

} // namespace

// Unbound, a manager touches no file, not even in the working folder; bound, it reads the file as
// it is now.
TEST(OrvaINIManager, GetValueAndSizeReadTheFileAsItIsNow)
{
    TempDir dir;
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    for (const std::string path : {"", "   "}) {
        auto manager = Bound(path);
        EXPECT_EQ(manager->INIFile(), "");
        EXPECT_EQ(manager->GetValue("S", "k", "dflt"), "dflt");
        EXPECT_FALSE(manager->WriteValue("S", "k", "v"));
        EXPECT_EQ(manager->Size(), -1);
        EXPECT_EQ(manager->Sections()->Count(), 0);
        EXPECT_FALSE(manager->Sections()->Add("S"));
    }
    std::filesystem::current_path(cwd);
    EXPECT_EQ(FileCount(dir.Path()), 0);

    const std::string f = dir.File("Settings.ini");
    auto manager = Bound("  " + f + "  ");
    EXPECT_EQ(manager->INIFile(), f);
    EXPECT_EQ(manager->Size(), -1);
    EXPECT_EQ(Bound(dir.Path())->Size(), -1);
    const std::string text =
        "[Server]\nURL= http://x/ \nEmpty=\n[Long]\nv=" + std::string(2500, 'x');
    WriteBytes(f, text);
    EXPECT_EQ(manager->Size(), static_cast<int32_t>(text.size()));
    EXPECT_EQ(manager->GetValue("SERVER", "url"), "http://x/");
    EXPECT_EQ(manager->GetValue("Server", "Empty", "dflt"), "dflt");
    EXPECT_EQ(manager->GetValue("Long", "v"), std::string(1999, 'x'));
    EXPECT_EQ(manager->GetValue(std::string("Server\0x", 8), "URL", "d"), "d");

    // Nothing is seen to be cached, not even a same-stamped file renamed over (an in-place rewrite
    // within one clock tick is the parsed cache's own test).
    WriteBytes(f, "[S]\nk=aaaa\n");
    EXPECT_EQ(manager->GetValue("S", "k"), "aaaa");
    const StatBuf st = StatOf(f);
    const timespec times[2] = {st.st_atim, st.st_mtim};
    WriteBytes(dir.File("other.ini"), "[S]\nk=cccc\n");
    ASSERT_EQ(utimensat(AT_FDCWD, dir.File("other.ini").c_str(), times, 0), 0);
    ASSERT_EQ(rename(dir.File("other.ini").c_str(), f.c_str()), 0);
    EXPECT_EQ(manager->GetValue("S", "k"), "cccc");
    unlink(f.c_str());
    EXPECT_EQ(manager->GetValue("S", "k", "gone"), "gone");
}

TEST(OrvaINIManager, BindingBuildsTheModelInFileOrder)
{
    TempDir dir;
    const std::string f = dir.File("Channel.ini");
    WriteBytes(f, "ok\n[A]\nk=v=w\nflag\n =blank key\n; note\n[B]\nx=1\ny=2\nX=dup\nz=3\n"
                  "[C]\n[ b ]\nq=1\n");
    auto manager = Bound(f);
    // The model is what the file held at binding, whatever happens to the file afterwards.
    WriteBytes(f, "[A]\nk=on disk\n");
    auto sections = manager->Sections();
    ASSERT_EQ(sections->Count(), 3);
    EXPECT_EQ(sections->Item(1)->Name() + sections->Item(2)->Name() + sections->Item(3)->Name(),
              "ABC");
    EXPECT_EQ(sections->Item("b"), sections->Item(2));
    EXPECT_EQ(Names(sections->Item("A")->Values()), "k=v=w;flag=;");
    EXPECT_EQ(Names(sections->Item("B")->Values()), "x=1;y=2;") << "a repeated key ends the list";
    EXPECT_EQ(sections->Item("C")->Values()->Count(), 0);
    EXPECT_EQ(sections->Item("a")->Values()->Item("K")->Value(), "v=w");

    EXPECT_THROW(sections->Item("D"), quillet::ItemNotFound);

    // Values are the client's to change; the file is not.
    sections->Item("A")->Values()->Item(1)->setValue("changed");
    EXPECT_EQ(manager->GetValue("A", "k"), "on disk");
}

TEST(OrvaINIManager, WriteValueCreatesTheFileAndRefreshesTheModel)
{
    TempDir dir;
    const std::string f = dir.File("new.ini");
    auto manager = Bound(f);
    auto sections = manager->Sections();
    ASSERT_TRUE(manager->WriteValue("LastPlay", "Type", "Jazz"));
    EXPECT_EQ(ReadBytes(f), "[LastPlay]\r\nType=Jazz\r\n");
    EXPECT_EQ(manager->Sections(), sections) << "the same object is reloaded";
    EXPECT_EQ(sections->Count(), 1);

    // A NUL would cut a name or value short (line breaks are the engine's to refuse): refused,
    // file and model unchanged.
    const std::string nul("a\0b", 3);
    EXPECT_FALSE(manager->WriteValue(nul, "k", "v"));
    EXPECT_FALSE(manager->WriteValue("S", nul, "v"));
    EXPECT_FALSE(manager->WriteValue("S", "k", nul));
    EXPECT_FALSE(sections->Add(nul));
    EXPECT_FALSE(sections->Item(1)->Values()->Add("k", "a\r\n[Evil]"));
    EXPECT_EQ(ReadBytes(f), "[LastPlay]\r\nType=Jazz\r\n");
    EXPECT_EQ(sections->Count(), 1);

    // Refresh hands out a new model; the old one keeps its contents.
    manager->Refresh();
    EXPECT_NE(manager->Sections(), sections);
    ASSERT_TRUE(manager->WriteValue("Other", "k", "v"));
    EXPECT_EQ(sections->Count(), 1);
    EXPECT_EQ(manager->Sections()->Count(), 2);
}

TEST(OrvaINIManager, FailedWritesLeaveFileAndModelAlone)
{
    TempDir dir;
    const std::string original = "[Volume]\nLevel=50\n";
    // A writable file in a read-only folder; a read-only and an unreadable file in a folder open
    // to all, where a new file can be written.
    const std::string locked = dir.File("locked"), shared = dir.File("shared");
    const std::string inLocked = locked + "/open.ini", readOnly = shared + "/ro.ini",
                      unreadable = shared + "/secret.ini";
    ASSERT_EQ(mkdir(locked.c_str(), 0755) + mkdir(shared.c_str(), 0755), 0);
    for (const auto& [path, mode] :
         {std::pair{inLocked, 0666}, {readOnly, 0444}, {unreadable, 0222}}) {
        WriteBytes(path, original);
        chmod(path.c_str(), static_cast<mode_t>(mode));
    }
    chmod(locked.c_str(), 0555);
    chmod(shared.c_str(), 0777);
    const int rc = RunUnprivileged([&] {
        auto manager = Bound(inLocked);
        auto values = manager->Sections()->Item("Volume")->Values();
        int wrong = manager->WriteValue("Volume", "Level", "60");
        wrong += values->Add("Level", "70") + values->Remove("Level");
        wrong += manager->Sections()->Add("New") + manager->Sections()->Remove("Volume");
        wrong += manager->Sections()->Count() != 1 || values->Item(1)->Value() != "50";
        wrong += Bound(readOnly)->WriteValue("Volume", "Level", "60");
        wrong += Bound(unreadable)->WriteValue("Volume", "Level", "60");
        return wrong + !Bound(shared + "/new.ini")->WriteValue("S", "k", "2");
    });
    if (rc == kCannotDropRoot) {
        GTEST_SKIP() << "running as root without the right to become another user";
    }
    EXPECT_EQ(rc, 0);
    chmod(locked.c_str(), 0755);
    chmod(unreadable.c_str(), 0644);
    for (const std::string& path : {inLocked, readOnly, unreadable}) {
        EXPECT_EQ(ReadBytes(path), original) << path;
    }
    EXPECT_EQ(FileCount(locked) + FileCount(shared), 4) << "no temporary file is left behind";
}

TEST(OrvaINIManager, CollectionsWriteThroughToTheFile)
{
    TempDir dir;
    const std::string f = dir.File("c.ini");
    WriteBytes(f, "[Jazz]\r\na=1\r\nb=2\r\nc=3\r\n[Rock]\r\nr=1\r\n");
    auto manager = Bound(f);
    auto sections = manager->Sections();
    auto values = sections->Item("Jazz")->Values();

    EXPECT_TRUE(values->Add("B", "two"));
    EXPECT_EQ(Names(values), "a=1;b=two;c=3;") << "a replaced entry keeps its place";
    EXPECT_TRUE(values->Add("d", "4"));
    EXPECT_TRUE(values->Remove("a"));
    EXPECT_EQ(Names(values), "b=two;c=3;d=4;");
    EXPECT_TRUE(values->Remove("nothing"));

    EXPECT_FALSE(sections->Add(" ROCK "));
    EXPECT_TRUE(sections->Add("Pop"));
    EXPECT_EQ(sections->Item(3)->Name(), "Pop");
    EXPECT_TRUE(sections->Remove("Missing"));
    EXPECT_TRUE(sections->Remove("jazz"));
    EXPECT_EQ(sections->Count(), 2);
    EXPECT_EQ(sections->Item(1)->Name(), "Rock");
    EXPECT_EQ(ReadBytes(f), "[Rock]\r\nr=1\r\n[Pop]\r\n");

    // A list older than the file: adding a section written there since must not empty it.
    auto stale = Bound(f)->Sections();
    ASSERT_TRUE(manager->WriteValue("Late", "k", "v"));
    EXPECT_FALSE(stale->Add("Late"));
    EXPECT_EQ(manager->GetValue("Late", "k"), "v");

    // Objects taken from the old list are detached but keep their contents.
    EXPECT_EQ(Names(values), "b=two;c=3;d=4;");
}
