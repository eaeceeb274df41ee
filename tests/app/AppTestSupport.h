// Shared helpers for the start-up tests.
#pragma once

#include "ProgramLifetime.h"
#include "TempProgramFolder.h"

using namespace core;

// Destroys the program's windows as its ending does, then whatever else a test left.
inline void CloseAllWindows()
{
    app::DestroyRemainingWindows();
    DeleteAllWindows();
}
