// The program's one INI binding. Every window binds it with OpenIniFile immediately before each
// group of GetValue / WriteValue calls, because any handler may re-bind it in between.
#pragma once

#include <QString>
#include <memory>
#include <quillet/OrvaINIManager.h>

namespace core {

// The one OrvaINIManager of the program, created the first time anything asks for it and kept
// until the program ends.
std::shared_ptr<quillet::OrvaINIManager> IniManager();

// Binds IniManager to FileName in the program's own folder and reloads its section model.
void OpenIniFile(const QString& FileName);

} // namespace core
