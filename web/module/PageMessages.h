#pragma once
// Messages from the engine's worker to the page, posted as they happen.

#include "app/RunPort.h"

#include <string>

namespace talver {

// {kind, text}: "focus" with a dialog field's id, "line" with a line the
// engine wrote on stderr, and so on.
void PostToPage(const char* kind, const std::string& text);

// {kind: "progress", status, section, step, progress, done, total, timing}:
// the window's four texts, the replicates finished of the bootstrap phase's
// total (0 of 0 outside it) and the time elapsed and left.
void PostProgressToPage(const WindowTexts& texts, int done, int total, const std::string& timing);

} // namespace talver
