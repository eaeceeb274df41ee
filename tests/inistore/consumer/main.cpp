// Uses the installed library through its chief header and profile.h only.

#include <quillet/OrvaINIManager.h>
#include <quillet/profile.h>

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    auto manager = std::make_shared<quillet::OrvaINIManager>();
    manager->setINIFile(argc == 2 ? argv[1] : "");
    char buf[64];
    bool ok =
        manager->WriteValue("Server", "URL", "http://127.0.0.1:8080/") &&
        quillet::GetPrivateProfileStringA("Server", "URL", "", buf, sizeof buf, argv[1]) == 22;
    std::shared_ptr<quillet::clsSections> sections = manager->Sections();
    std::shared_ptr<quillet::clsValue> value = sections->Item("server")->Values()->Item(1);
    ok = ok && value->Name() == "URL" && manager->GetValue("SERVER", "url") == buf;
    try {
        sections->Item(2);
        ok = false;
    } catch (const quillet::ItemNotFound&) {
    }
    std::puts(ok ? "consumer ok" : "consumer saw wrong results");
    return ok ? 0 : 1;
}
