#pragma once
// Every control of the dialogs carries its id in its object name, so that
// tests and tools find a control by the id the rules use.

#include <QString>

namespace talver {

inline QString ControlName(int controlId)
{
    return QStringLiteral("control%1").arg(controlId);
}

} // namespace talver
