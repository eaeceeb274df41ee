#include "PlayerKeys.h"

#include "ImageClick.h"

#include <QCoreApplication>
#include <QPointer>
#include <QShortcut>
#include <QWidget>

namespace player {

const QList<PlayerKey>& PlayerKeys::Table()
{
    static const QList<PlayerKey> table = {
        {"btnPlay", {QKeySequence(Qt::Key_Space)}},
        {"BtnVolUp", {QKeySequence(Qt::Key_Up), QKeySequence(Qt::Key_Plus)}},
        {"BtnVolDown", {QKeySequence(Qt::Key_Down), QKeySequence(Qt::Key_Minus)}},
        {"BtnMute", {QKeySequence(Qt::Key_M)}},
        {"ImgFullScreen", {QKeySequence(Qt::Key_F)}},
        {"ImgTray", {QKeySequence(Qt::Key_D)}},
        {"ImgSysTray", {QKeySequence(Qt::Key_T)}},
        {"btnRecord", {QKeySequence(Qt::Key_R)}},
        {"btnInfo", {QKeySequence(Qt::Key_I)}},
        {"ingClose", {QKeySequence(Qt::CTRL | Qt::Key_Q)}},
    };
    return table;
}

void PlayerKeys::Attach(QWidget& Window, QWidget& Player)
{
    // The directory outlives no player, but a key may come while the player is being closed.
    const QPointer<QWidget> player(&Player);
    for (const PlayerKey& entry : Table()) {
        const QString name = QString::fromLatin1(entry.Control);
        for (const QKeySequence& key : entry.Keys) {
            auto* shortcut = new QShortcut(key, &Window);
            shortcut->setContext(Qt::WindowShortcut);
            // Held down, a volume key steps on; a toggle would flicker.
            shortcut->setAutoRepeat(name.startsWith(QLatin1String("BtnVol")));
            QObject::connect(shortcut, &QShortcut::activated, &Window, [player, name] {
                if (!player)
                    return;
                if (auto* control = player->findChild<QWidget*>(name))
                    controls::Press(*control);
            });
        }
    }
}

void PlayerKeys::NameKeysInToolTips(QWidget& Player)
{
    for (const PlayerKey& entry : Table()) {
        auto* control = Player.findChild<QWidget*>(QString::fromLatin1(entry.Control));
        if (!control)
            continue;
        QStringList keys;
        for (const QKeySequence& key : entry.Keys)
            keys << key.toString(QKeySequence::NativeText);
        const QString what =
            control->toolTip().isEmpty() ? control->accessibleName() : control->toolTip();
        //: A control's tooltip and the keys that press it, as in "Mute (M)".
        control->setToolTip(QCoreApplication::translate("PlayerKeys", "%1 (%2)")
                                .arg(what, keys.join(QStringLiteral(", "))));
    }
}

} // namespace player
