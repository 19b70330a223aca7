#include "app/BuildDescription.h"

// The build system passes the project's version and the build type of this
// object file (TALVER_VERSION, TALVER_BUILD_TYPE).
#ifndef TALVER_VERSION
#error "TALVER_VERSION must be defined by the build"
#endif
#ifndef TALVER_BUILD_TYPE
#define TALVER_BUILD_TYPE ""
#endif

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TALVER_WITH_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TALVER_WITH_ADDRESS_SANITIZER 1
#endif

namespace talver {

namespace {

std::string CompilerName()
{
#if defined(__clang__)
    std::string name = "Clang " __clang_version__;
#elif defined(__GNUC__)
    std::string name = "GCC " __VERSION__;
#else
    std::string name = "unknown compiler";
#endif
    // Clang's version text ends in a blank.
    while (!name.empty() && name.back() == ' ') {
        name.pop_back();
    }
    return name;
}

std::string BuildName()
{
    const std::string type = TALVER_BUILD_TYPE;
    std::string details = type.empty() ? std::string("no build type") : type;
    // Only the plain Release build is what users are given; every other build
    // is for development and checking.
    bool release = type == "Release";
#ifdef TALVER_WITH_ADDRESS_SANITIZER
    details += ", with AddressSanitizer";
    release = false;
#endif
#ifdef TALVER_NO_MATRIX_RECYCLING
    details += ", matrices freed at once";
    release = false;
#endif
    return (release ? "release build (" : "not the release build (") + details + ")";
}

} // namespace

std::string_view ProgramVersion()
{
    return TALVER_VERSION;
}

std::string VersionText(std::string_view program)
{
    std::string text(program);
    text += " (TALVER) ";
    text += ProgramVersion();
    text += "\nCompiler: " + CompilerName();
    text += "\nBuild: " + BuildName();
    return text;
}

} // namespace talver
