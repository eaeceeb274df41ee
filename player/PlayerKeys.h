// The player's keys: each presses one of the player's controls, so a key does exactly what a
// click on that control does (the settings it writes, the beep at a volume bound). They work
// while the player or the channel directory has the focus.
#pragma once

#include <QKeySequence>
#include <QList>

class QWidget;

namespace player {

struct PlayerKey
{
    const char* Control; // the object name of the player's control
    QList<QKeySequence> Keys;
};

class PlayerKeys
{
  public:
    static const QList<PlayerKey>& Table();

    // Window (the player, or the directory under it) takes the keys; each presses the control
    // of Player the table names.
    static void Attach(QWidget& Window, QWidget& Player);
    // Each control's tooltip names its keys ("Mute (M)"); a control without a tooltip shows its
    // accessible name with them. Run after the player set its tooltips.
    static void NameKeysInToolTips(QWidget& Player);
};

} // namespace player
