// OrvaINIManager and its collections on real files.

#include "IniFiles.h"

#include <quillet/OrvaINIManager.h>

#include <gtest/gtest.h>

using namespace inifiles;
using quillet::ItemNotFound;
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

TEST(OrvaINIManager, UnboundManagerTouchesNoFile)
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
    EXPECT_EQ(std::make_shared<OrvaINIManager>()->Sections()->Count(), 0);
    std::filesystem::current_path(cwd);
    EXPECT_EQ(dir.Listing(), "");
}

TEST(OrvaINIManager, GetValueReadsTheFileAsItIsNow)
{
    TempDir dir;
    const std::string f = dir.File("Settings.ini");
    WriteBytes(f, "[Server]\nURL= http://x/ \nEmpty=\n[Long]\nv=" + std::string(2500, 'x') + "\n");
    auto manager = Bound("  " + f + "  ");
    EXPECT_EQ(manager->INIFile(), f);
    EXPECT_EQ(manager->GetValue("SERVER", "url"), "http://x/");
    EXPECT_EQ(manager->GetValue("Server", "Empty", "dflt"), "dflt");
    EXPECT_EQ(manager->GetValue("Server", "Empty"), "");
    EXPECT_EQ(manager->GetValue("Long", "v"), std::string(1999, 'x'));
    EXPECT_EQ(manager->GetValue(std::string("Server\0x", 8), "URL", "d"), "d");

    // A second manager's write is seen at once: nothing is cached for GetValue.
    auto other = Bound(f);
    ASSERT_TRUE(other->WriteValue("Server", "URL", "http://y/"));
    EXPECT_EQ(manager->GetValue("Server", "URL"), "http://y/");
}

TEST(OrvaINIManager, SizeIsTheFileLength)
{
    TempDir dir;
    const std::string f = dir.File("s.ini");
    EXPECT_EQ(Bound(f)->Size(), -1);
    WriteBytes(f, "[A]\r\nb=c\r\n");
    EXPECT_EQ(Bound(f)->Size(), 10);
    EXPECT_EQ(Bound(dir.Path())->Size(), -1);
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
    EXPECT_EQ(sections->Item(1)->Name(), "A");
    EXPECT_EQ(sections->Item(2)->Name(), "B");
    EXPECT_EQ(sections->Item(3)->Name(), "C");
    EXPECT_EQ(sections->Item("b"), sections->Item(2));
    EXPECT_EQ(Names(sections->Item("A")->Values()), "k=v=w;flag=;");
    EXPECT_EQ(Names(sections->Item("B")->Values()), "x=1;y=2;") << "a repeated key ends the list";
    EXPECT_EQ(sections->Item("C")->Values()->Count(), 0);
    EXPECT_EQ(sections->Item("a")->Values()->Item("K")->Value(), "v=w");

    EXPECT_THROW(sections->Item(0), ItemNotFound);
    EXPECT_THROW(sections->Item(4), ItemNotFound);
    EXPECT_THROW(sections->Item("D"), ItemNotFound);
    EXPECT_THROW(sections->Item("A")->Values()->Item("nokey"), std::out_of_range);
    EXPECT_THROW(sections->Item("A")->Values()->Item(3), std::exception);

    // Values are the client's to change; the file is not.
    auto value = sections->Item("A")->Values()->Item(1);
    value->setValue("changed");
    value->setName("renamed");
    EXPECT_EQ(sections->Item("A")->Values()->Item(1)->Value(), "changed");
    EXPECT_EQ(manager->GetValue("A", "k"), "on disk");

    // A replaced entry list stays until the model is rebuilt; null means a fresh empty one.
    auto section = sections->Item("A");
    section->setValues(nullptr);
    ASSERT_NE(section->Values(), nullptr);
    EXPECT_EQ(section->Values()->Count(), 0);
    EXPECT_TRUE(section->Values()->Add("new", "1"));
    EXPECT_EQ(manager->GetValue("A", "new"), "1");
}

TEST(OrvaINIManager, WriteValueCreatesTheFileAndRefreshesTheModel)
{
    TempDir dir;
    const std::string f = dir.File("new.ini");
    auto manager = Bound(f);
    auto sections = manager->Sections();
    EXPECT_EQ(sections->Count(), 0);
    ASSERT_TRUE(manager->WriteValue("LastPlay", "Type", "Jazz"));
    EXPECT_EQ(ReadBytes(f), "[LastPlay]\r\nType=Jazz\r\n");
    EXPECT_EQ(manager->Sections(), sections) << "the same object is reloaded";
    EXPECT_EQ(sections->Count(), 1);
    EXPECT_EQ(manager->GetValue("lastplay", "TYPE"), "Jazz");

    // Line breaks or NUL would inject lines: refused, file and model unchanged.
    for (const std::string& bad :
         {std::string("a\r\n[Evil]"), std::string("a\nb"), std::string("a\0b", 3)}) {
        EXPECT_FALSE(manager->WriteValue(bad, "k", "v"));
        EXPECT_FALSE(manager->WriteValue("S", bad, "v"));
        EXPECT_FALSE(manager->WriteValue("S", "k", bad));
        EXPECT_FALSE(sections->Add(bad));
        EXPECT_FALSE(sections->Item(1)->Values()->Add("k", bad));
    }
    EXPECT_EQ(ReadBytes(f), "[LastPlay]\r\nType=Jazz\r\n");
    EXPECT_EQ(sections->Count(), 1);

    // Refresh hands out a new model; the old one keeps its contents.
    manager->Refresh();
    EXPECT_NE(manager->Sections(), sections);
    ASSERT_TRUE(manager->WriteValue("Other", "k", "v"));
    EXPECT_EQ(sections->Count(), 1);
    EXPECT_EQ(manager->Sections()->Count(), 2);
}

TEST(OrvaINIManager, FailedWriteLeavesFileAndModelAlone)
{
    TempDir dir;
    const std::string folder = dir.File("ro");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const std::string f = folder + "/Settings.ini";
    const std::string original = "[Volume]\nLevel=50\n";
    WriteBytes(f, original);
    chmod(f.c_str(), 0666);
    chmod(folder.c_str(), 0555);
    const int rc = RunUnprivileged([&] {
        auto manager = Bound(f);
        auto values = manager->Sections()->Item("Volume")->Values();
        int wrong = manager->WriteValue("Volume", "Level", "60");
        wrong += values->Add("Level", "70") + values->Remove("Level");
        wrong += manager->Sections()->Add("New") + manager->Sections()->Remove("Volume");
        wrong += manager->Sections()->Count() != 1 || values->Item(1)->Value() != "50";
        wrong += manager->GetValue("Volume", "Level") != "50";
        return wrong;
    });
    if (rc == kCannotDropRoot) {
        GTEST_SKIP() << "running as root without the right to become another user";
    }
    EXPECT_EQ(rc, 0);
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(ReadBytes(f), original);
}

TEST(OrvaINIManager, CollectionsWriteThroughToTheFile)
{
    TempDir dir;
    const std::string f = dir.File("c.ini");
    WriteBytes(f, "[Jazz]\r\na=1\r\nb=2\r\nc=3\r\n[Rock]\r\nr=1\r\n");
    auto manager = Bound(f);
    auto sections = manager->Sections();
    auto jazz = sections->Item("Jazz");
    auto values = jazz->Values();

    EXPECT_TRUE(values->Add("B", "two"));
    EXPECT_EQ(Names(values), "a=1;b=two;c=3;") << "a replaced entry keeps its place";
    EXPECT_TRUE(values->Add("d", "4"));
    EXPECT_TRUE(values->Remove("a"));
    EXPECT_EQ(Names(values), "b=two;c=3;d=4;");
    EXPECT_TRUE(values->Remove("nothing"));
    EXPECT_EQ(sections->Count(), 2) << "only the entry list is reloaded";

    const std::string before = ReadBytes(f);
    EXPECT_FALSE(sections->Add(" ROCK "));
    EXPECT_EQ(ReadBytes(f), before);
    EXPECT_TRUE(sections->Add("Pop"));
    EXPECT_EQ(sections->Count(), 3);
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
    EXPECT_EQ(jazz->Name(), "Jazz");
    EXPECT_EQ(Names(jazz->Values()), "b=two;c=3;d=4;");
}
