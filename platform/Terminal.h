#pragma once
// Whether progress goes to a person at a console or to a file or pipe: a
// console gets a line redrawn in place, a file gets whole lines.

namespace talver {

bool StandardErrorIsTerminal();

} // namespace talver
