#pragma once
// What the program's QApplication needs before its first window.

class QApplication;

namespace talver {


// Qt took the process locale from the environment; numbers go back to the C
// conventions ('.' as decimal point). Also the names and the icon.
void PrepareApplication(QApplication& application);

} // namespace talver
