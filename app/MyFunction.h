// Small routines several windows share (the old "MyFunction" module).
#pragma once

#include <QString>

class QWidget;
namespace corvane {
class InetTransfer;
}

// Centres Window on its screen, computed in twips as the windows were designed; a window larger
// than the screen gets a negative top and left.
void CenterForm(QWidget& Window);

// Closes every window of the program (errors ignored), then ends the program.
void UnloadAllForms();

// Splits a stream address of the form "http://" host ":" port "/" by plain text operations, as
// the recorder always has: an address without a port gives the host from GetPort, a path after
// the port stays attached with its slashes removed ("8000stream").
QString GetPort(const QString& Address);
QString GetHost(const QString& Address);

// Fetches ServerURL + "/Settings/" + FileName with Inet (a nested event loop runs meanwhile) and,
// when the body starts with "ok", replaces FileName in the program folder with it, byte for byte.
// The old file stays whole until the new one is complete on disk. Returns whether it was stored.
bool DownloadSettingsFile(corvane::InetTransfer& Inet, const QString& FileName);

// The program's message box: its title, an OK button, no icon; waits for OK.
void MsgBox(QWidget* Parent, const QString& Text);
