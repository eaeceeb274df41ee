// Program-wide state shared by the windows (the old "Variable" module), in one object whose
// change signals the windows follow instead of being told by whoever wrote.
#pragma once

#include <QObject>
#include <QString>

namespace core {

class ProgramState : public QObject
{
    Q_OBJECT

  public:
    // Server base address from "Settings.ini" [Server] URL, used exactly as stored.
    QString ServerURL() const { return m_sServerURL; }
    void SetServerURL(const QString& URL);
    // True while the user has stopped playback with the player's stop/play button.
    bool PlayStopped() const { return m_bPlayStopped; }
    void SetPlayStopped(bool Stopped);
    // "RSettings.ini" [Info] Title: the player's title label and the tray icon's tip.
    QString PlayerTitle() const { return m_sPlayerTitle; }
    void SetPlayerTitle(const QString& Title);

  signals:
    // Each is emitted only when the value really changes.
    void ServerURLChanged(const QString& URL);
    void PlayStoppedChanged(bool Stopped);
    void PlayerTitleChanged(const QString& Title);

  private:
    QString m_sServerURL;
    bool m_bPlayStopped = false;
    QString m_sPlayerTitle;
};

// The program's one state object.
ProgramState& State();

} // namespace core
