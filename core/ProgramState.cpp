#include "ProgramState.h"

namespace core {

QString ServerURL;
bool PlayStopped = false;
QString PlayerTitle;

} // namespace core
