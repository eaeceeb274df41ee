#include "MessageRules.h"

#include "Config.h"
#include "ProgramFolder.h"

#include <QFileInfo>
#include <cmath>

namespace player {

namespace {

bool IsIniBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
}

// What the INI store would change when reading the value back.
bool NeedsQuotes(const QString& Value)
{
    if (Value.isEmpty())
        return false;
    if (IsIniBlank(Value.front()) || IsIniBlank(Value.back()))
        return true;
    const QChar first = Value.front();
    return Value.size() >= 2 && (first == u'"' || first == u'\'') && Value.back() == first;
}

// The number Visual Basic's Val would find at the start of Value: blanks, a sign, digits, a
// decimal point and more digits; 0 when there is none.
double LeadingNumber(const QString& Value)
{
    qsizetype i = 0;
    while (i < Value.size() && IsIniBlank(Value[i]))
        ++i;
    const qsizetype start = i;
    if (i < Value.size() && (Value[i] == u'+' || Value[i] == u'-'))
        ++i;
    while (i < Value.size() && Value[i].isDigit())
        ++i;
    if (i < Value.size() && Value[i] == u'.') {
        ++i;
        while (i < Value.size() && Value[i].isDigit())
            ++i;
    }
    bool ok = false;
    const double number = Value.mid(start, i - start).toDouble(&ok);
    return ok ? number : 0.0;
}

} // namespace

QString EncodeMessage(const QString& Text)
{
    QString stored;
    stored.reserve(Text.size() + 8);
    for (const QChar c : Text) {
        if (c == u'\\')
            stored += QLatin1String("\\\\");
        else if (c == u'\r')
            stored += QLatin1String("\\r");
        else if (c == u'\n')
            stored += QLatin1String("\\n");
        else
            stored += c;
    }
    if (NeedsQuotes(stored))
        return u'"' + stored + u'"';
    return stored;
}

QString DecodeMessage(const QString& Stored)
{
    QString text;
    text.reserve(Stored.size());
    for (qsizetype i = 0; i < Stored.size(); ++i) {
        const QChar c = Stored[i];
        const QChar next = i + 1 < Stored.size() ? Stored[i + 1] : QChar();
        if (c == u'\\' && (next == u'\\' || next == u'r' || next == u'n')) {
            text += next == u'\\' ? QChar(u'\\') : next == u'r' ? QChar(u'\r') : QChar(u'\n');
            ++i;
        } else {
            // A lone backslash (as an older program stored it) stays what it was.
            text += c;
        }
    }
    return text;
}

QString ReadAcknowledgedMessage()
{
    return DecodeMessage(core::Config::Read(core::Config::LastMessage));
}

bool WriteAcknowledgedMessage(const QString& Text)
{
    return core::Config::Write(core::Config::LastMessage, EncodeMessage(Text));
}

bool IsMessageAnswer(int ResponseCode, const QByteArray& Body)
{
    if (ResponseCode < 200 || ResponseCode > 299)
        return false;
    QByteArray head = Body.left(64).trimmed().toLower();
    if (head.startsWith("\xef\xbb\xbf"))
        head = head.mid(3).trimmed();
    return !head.startsWith("<!doctype html") && !head.startsWith("<html");
}

std::optional<QColor> PaletteColor(int Number)
{
    static const QColor palette[16] = {
        {0, 0, 0},       {0, 0, 128},   {0, 128, 0},   {0, 128, 128},
        {128, 0, 0},     {128, 0, 128}, {128, 128, 0}, {192, 192, 192},
        {128, 128, 128}, {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
        {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255},
    };
    if (Number < 0 || Number > 15)
        return std::nullopt;
    return palette[Number];
}

QColor MessageFontColor(const QString& Value, const QColor& Design)
{
    const double number = std::nearbyint(LeadingNumber(Value));
    if (number < 0 || number > 15)
        return Design;
    return PaletteColor(static_cast<int>(number)).value_or(Design);
}

std::optional<double> MessageFontSize(const QString& Value)
{
    bool ok = false;
    const double points = Value.trimmed().toDouble(&ok);
    // The size comes from the operator's server: one that would stall the text layout is refused.
    if (!ok || !(points >= 1.0 && points <= 400.0))
        return std::nullopt;
    return points;
}

QString MessageSoundFile()
{
    const QString local = core::ProgramFolder() + QLatin1String("/msg.wav");
    if (QFileInfo(local).isFile())
        return local;
    const QString installed = core::InstalledDataFolder() + QLatin1String("/msg.wav");
    if (QFileInfo(installed).isFile())
        return installed;
    return {};
}

} // namespace player
