#include "PlayerLogic.h"

#include "Config.h"
#include "SaveSetting.h"

#include <cmath>
#include <limits>

namespace player {

using namespace core;

namespace {

bool Fits(double value)
{
    return value >= std::numeric_limits<int16_t>::min() &&
           value <= std::numeric_limits<int16_t>::max();
}

// The longest prefix of Text (after blanks) that reads as a decimal number.
QString NumberPrefix(const QString& Text)
{
    int at = 0;
    while (at < Text.size() && (Text[at] == u' ' || Text[at] == u'\t'))
        ++at;
    const int start = at;
    auto digits = [&] {
        const int from = at;
        while (at < Text.size() && Text[at] >= u'0' && Text[at] <= u'9')
            ++at;
        return at > from;
    };
    if (at < Text.size() && (Text[at] == u'+' || Text[at] == u'-'))
        ++at;
    bool any = digits();
    if (at < Text.size() && Text[at] == u'.') {
        ++at;
        any = digits() || any;
    }
    if (!any)
        return {};
    const int mantissaEnd = at;
    if (at < Text.size() && (Text[at] == u'e' || Text[at] == u'E')) {
        ++at;
        if (at < Text.size() && (Text[at] == u'+' || Text[at] == u'-'))
            ++at;
        if (!digits())
            at = mantissaEnd;
    }
    return Text.mid(start, at - start);
}

} // namespace

std::optional<int16_t> LeadingInteger(const QString& Text)
{
    const QString number = NumberPrefix(Text);
    if (number.isEmpty())
        return 0;
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // the default rounding: half to even
    if (!Fits(rounded))
        return std::nullopt;
    return static_cast<int16_t>(rounded);
}

void CVolume::Load()
{
    const QString stored = Config::Read(Config::PlayerVolume);
    // A first run has stored nothing yet: audible, so the first channel is heard.
    if (stored.isEmpty()) {
        m_VolumeLevel = FirstRunVolume;
        return;
    }
    if (const auto level = LeadingInteger(stored))
        m_VolumeLevel = *level;
}

CVolume::Step CVolume::StepUp()
{
    bool beep = false;
    if (Fits(m_VolumeLevel + 10.0))
        m_VolumeLevel = static_cast<int16_t>(m_VolumeLevel + 10);
    if (m_VolumeLevel >= 100) {
        beep = true;
        m_VolumeLevel = 100;
    }
    Store();
    return {m_VolumeLevel, beep};
}

CVolume::Step CVolume::StepDown()
{
    bool beep = false;
    if (Fits(m_VolumeLevel - 10.0))
        m_VolumeLevel = static_cast<int16_t>(m_VolumeLevel - 10);
    if (m_VolumeLevel < 1) {
        beep = true;
        m_VolumeLevel = 0;
    }
    Store();
    return {m_VolumeLevel, beep};
}

int CVolume::EngineVolume() const
{
    return qBound(0, static_cast<int>(m_VolumeLevel), 100);
}

void CVolume::Store() const
{
    (void)SaveSetting(nullptr, Config::PlayerVolume, QString::number(m_VolumeLevel));
}

PlayStep NextPlayStep(bool PlayStopped, const QString& LastPath, const QString& LastGiven)
{
    if (PlayStopped)
        return {true, LastPath.isEmpty() ? LastGiven : LastPath, Images::Playing, false};
    return {false, {}, Images::Stopped, true};
}

std::optional<QString> AutoplayAddress()
{
    if (!Config::IsFlagSet(Config::Read(Config::Autoplay)))
        return std::nullopt;
    return Config::Read(Config::LastPath);
}

} // namespace player
