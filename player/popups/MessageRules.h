// The rules of the administrator message that need no window: how the acknowledged text is kept
// in "Settings.ini", which server answers count as a message, and how the operator's font
// settings from "RSettings.ini" are read.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>
#include <optional>

namespace player {

// The INI store keeps one line per value, trims blanks around it and drops one pair of outer
// quotes, so the text is stored with backslash, CR and LF written as "\\", "\r" and "\n", and
// wrapped in quotes when its ends would otherwise be lost. A one-line text without a backslash,
// blank ends or outer quotes is stored as it is.
QString EncodeMessage(const QString& Text);
QString DecodeMessage(const QString& Stored);

// "Settings.ini" [Message] Msg, decoded; and the text written there as seen.
QString ReadAcknowledgedMessage();
bool WriteAcknowledgedMessage(const QString& Text);

// Whether a fetch of the message file brought a message: a 2xx answer whose body is not an HTML
// page (a server's error or "not found" page often comes with status 200). Failed transfers
// have no status at all.
bool IsMessageAnswer(int ResponseCode, const QByteArray& Body);

// The classic 16-colour palette by number; nothing outside 0-15.
std::optional<QColor> PaletteColor(int Number);
// "FontColor": the leading number of Value (none counts as 0, so empty is black), to the nearest
// integer; a number outside the palette keeps Design.
QColor MessageFontColor(const QString& Value, const QColor& Design);
// "FontSize": a decimal number of points; anything else (or an absurd size) keeps the design.
std::optional<double> MessageFontSize(const QString& Value);

// Where "msg.wav" is: the program's own folder first, then the installed program's data folder.
// Empty when neither has it.
QString MessageSoundFile();

} // namespace player
