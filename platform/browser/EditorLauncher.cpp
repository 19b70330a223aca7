// A page starts no program: it shows the report itself and offers it for
// download (WebPort::OpenReport does nothing), so this is never reached.

#include "platform/EditorLauncher.h"

namespace talver {

std::string EditorProgram()
{
    return "";
}

bool StartEditorDetached(const std::string&, std::string& error)
{
    error = "a web page cannot start programs";
    return false;
}

} // namespace talver
