// What the player window decides without touching a widget: the volume scale and its record in
// "Settings.ini", the stop/play toggle, autoplay at load, and where the docked windows go.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace player {

// The ImgList positions of the images the window shows.
namespace Images {
inline constexpr int DirectoryOpen = 1;
inline constexpr int DirectoryClosed = 2;
inline constexpr int NotMuted = 3;
inline constexpr int Muted = 4;
inline constexpr int Stopped = 5;
inline constexpr int Playing = 6;
} // namespace Images

// The number a text starts with, as the old runtime read numbers out of settings (leading
// blanks, a sign, digits, a fraction, an exponent; anything else ends it; no number is 0),
// rounded half to even. Nothing when the result does not fit a 16-bit integer.
std::optional<int16_t> LeadingInteger(const QString& Text);

// The player's volume: 0..100 in steps of ten from wherever the stored value started. Every step
// is written to "Settings.ini" at once; a write that fails is told once and the level holds.
class CVolume
{
  public:
    struct Step
    {
        int16_t Level;
        bool Beep; // a bound was reached
    };

    static constexpr int16_t FirstRunVolume = 50;

    // "Settings.ini" [Player] Volume; no value at all (a first run) gives FirstRunVolume, a
    // value that does not fit leaves the level as it was, and a stored "0" stays silent.
    void Load();
    Step StepUp();
    Step StepDown();

    int16_t VolumeLevel() const { return m_VolumeLevel; }
    // What the media component is given: the level held to 0..100 (a stored 250 is loud, not
    // an error).
    int EngineVolume() const;

  private:
    void Store() const;

    int16_t m_VolumeLevel = 0;
};

// The stop/play toggle. Playing again gives the component the stored "Path"/"LastPath" address;
// where none is stored, the address it was last given, so that "play" never shows the playing
// image over silence.
struct PlayStep
{
    bool Play;       // false: stop
    QString Address; // what to give the component when Play
    int Image;       // ImgList position for btnPlay
    bool PlayStopped;
};
PlayStep NextPlayStep(bool PlayStopped, const QString& LastPath, const QString& LastGiven);

// The address to start at load when "CheckBox"/"Autoplay" is set; it keeps playing.
std::optional<QString> AutoplayAddress();

} // namespace player
