// The processes a test leaves behind, read from /proc.
#pragma once

#include <set>
#include <sys/types.h>

// Every process below Root (WebEngine's helpers are children of the program, the renderers
// children of its zygote).
std::set<pid_t> Descendants(pid_t Root);

// Whether Pid is still a process that has not ended (a zombie counts as ended).
bool ProcessLives(pid_t Pid);
