// The program's one conversion between the bytes of INI files and stream titles and the text
// shown on screen. Files from a Windows operator's server are often Windows-1252, newer ones UTF-8:
// valid UTF-8 is shown as UTF-8, anything else byte by byte in the fallback code page.
//
// Showing is not reversible in general (the same text can come from either encoding), so a name
// that is written back or looked up again travels as the bytes that were read (IniName), never as
// the shown text converted back.
#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

namespace core {

enum class Fallback { Windows1252, Latin1 };

// Bytes as text: UTF-8 when they are valid UTF-8, else one character per byte in Fallback.
QString ShowBytes(std::string_view Bytes, Fallback Other = Fallback::Windows1252);
inline QString ShowBytes(const QByteArray& Bytes, Fallback Other = Fallback::Windows1252)
{
    return ShowBytes(std::string_view(Bytes.constData(), static_cast<size_t>(Bytes.size())), Other);
}

// Text the user typed (or the program's own), as the bytes to store: UTF-8.
std::string StoreText(const QString& Text);

// A name read from an INI file: what to show, and the bytes to look it up or write it back with.
struct IniName
{
    QString Shown;
    std::string Bytes;

    static IniName FromBytes(std::string Bytes)
    {
        QString shown = ShowBytes(Bytes);
        return {std::move(shown), std::move(Bytes)};
    }
};

} // namespace core
