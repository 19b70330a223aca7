#pragma once
// Whether progress goes to a person at a console or to a file or pipe: a
// console gets a line redrawn in place, a file gets whole lines.

namespace talver {

bool StandardErrorIsTerminal();

// The columns of the terminal that stderr writes to, so that a live line can
// stay within them: $COLUMNS when the terminal does not say, 80 when neither
// does.
int StandardErrorColumns();

} // namespace talver
