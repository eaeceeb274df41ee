// What the splash's status line says at each state of its two transfers.
#pragma once

#include <QString>
#include <optional>

namespace app {

enum class SplashTransfer { Channel, RSettings };

// The new status text for State of the given transfer, or nothing for states that leave the
// line as it is. ResponseInfo is that transfer's response information (used by state 11).
std::optional<QString> SplashStatusText(SplashTransfer Transfer, int State,
                                        const QString& ResponseInfo);

} // namespace app
