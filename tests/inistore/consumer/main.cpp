// Uses the installed library through its chief header and profile.h only.

#include <quillet/OrvaINIManager.h>
#include <quillet/profile.h>

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    if (argc != 2) {
        return 2;
    }
    auto manager = std::make_shared<quillet::OrvaINIManager>();
    manager->setINIFile(argv[1]);
    if (!manager->WriteValue("Server", "URL", "http://127.0.0.1:8080/")) {
        std::puts("WriteValue failed");
        return 1;
    }
    std::shared_ptr<quillet::clsSections> sections = manager->Sections();
    std::shared_ptr<quillet::clsValues> values = sections->Item("server")->Values();
    std::shared_ptr<quillet::clsValue> value = values->Item(1);
    char buf[64];
    quillet::GetPrivateProfileStringA("Server", "URL", "", buf, sizeof buf, argv[1]);
    bool threw = false;
    try {
        sections->Item(2);
    } catch (const quillet::ItemNotFound&) {
        threw = true;
    }
    const bool ok = sections->Count() == 1 && value->Name() == "URL" &&
                    manager->GetValue("SERVER", "url") == buf && threw;
    std::puts(ok ? "consumer ok" : "consumer saw wrong results");
    return ok ? 0 : 1;
}
