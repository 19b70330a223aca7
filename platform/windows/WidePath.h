#pragma once

#include <string>

namespace talver {

// The program's paths are UTF-8; the system's wide calls take UTF-16.
std::wstring WidePath(const std::string& utf8);
std::string Utf8Path(const std::wstring& wide);

} // namespace talver
