// Small routines several windows share (the old "MyFunction" module).
#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

namespace platform {
class InetTransfer;
}

namespace core {

// Centres Window on its screen, computed in twips as the windows were designed; a window larger
// than the screen gets a negative top and left.
void CenterForm(QWidget& Window);

// Closes every open window of the program (errors ignored), in the order they end in (see
// EndingOrder), then ends the program.
void UnloadAllForms();

// Ends the program at once, as the splash's double-click does: every open window disappears, every
// fetch a window runs (its InetTransfer children and members) is cancelled, the event loop is told
// to stop, and nothing further is written.
void EndProgram();

// Starts fetching ServerURL + "/Settings/" + FileName with Inet; Inet's Finished brings the body
// to StoreSettingsFile. Returns false when Inet is still busy with another fetch.
bool DownloadSettingsFile(platform::InetTransfer& Inet, const QString& FileName);

// The end of that download: when Inet's fetch was answered and Body starts with "ok", replaces
// FileName in the program folder with it, byte for byte. The old file stays whole until the new
// one is complete on disk. Returns whether it was stored.
bool StoreSettingsFile(const platform::InetTransfer& Inet, const QString& FileName,
                       const QByteArray& Body);

} // namespace core
