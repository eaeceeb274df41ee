#include "ProgramState.h"

namespace core {

QString ServerURL;
int16_t FadeAlpha = 0;
int16_t FadeTarget = 0;
bool PlayStopped = false;
QString PlayerTitle;
bool ProgramEnding = false;

} // namespace core
