#pragma once
// Whether progress goes to a person at a console or to a file or pipe: a
// console gets a line redrawn in place, a file gets whole lines.

namespace talver {

bool StandardErrorIsTerminal();

// Messages are UTF-8, file names in them included: a console that reads
// the bytes written to it in another code page is told to read UTF-8 until
// the program ends, when it gets its own code page back.
void ShowUtf8OnConsole();

// The columns of the terminal that stderr writes to, so that a live line can
// stay within them: $COLUMNS when the terminal does not say, 80 when neither
// does.
int StandardErrorColumns();

} // namespace talver
