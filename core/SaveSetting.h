// Writing a setting the user made (the server address, the volume, the recordings folder, the
// message seen). A write that fails (a read-only folder, a full disk, "Settings.ini" that is not a
// file) is told to the user once per setting and run, through the questions interface, so that
// a change is never silently lost and a volume key held down does not raise a dialog per step.
#pragma once

#include "Config.h"

class QWidget;

namespace core {

// Writes the key; on failure tells the user (the first time for this key) and returns false.
[[nodiscard]] bool SaveSetting(QWidget* Parent, const Config::Key& Key, const QString& Value);

// Tells the user that the key could not be written: the first time for this key, or every time
// when the user asked for this very write and waits for its outcome (Always).
void TellUnsaved(QWidget* Parent, const Config::Key& Key, bool Always = false);
// What the user is told: the file that could not be written, and that the change holds for now.
QString UnsavedText(const Config::Key& Key);

} // namespace core
