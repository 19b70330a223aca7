// Compares the dialogs' number-field parsing with a plain reference built on
// strtoll, and checks that every accepted value reads back the same.

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "app/IntegerField.h"
#include "fuzz_support.h"

using namespace talver;

namespace {

// The field's number by the rules the dialogs follow, worked out another way:
// trim blanks and tabs from the whole text, then a sign and digits must be
// all that is left.
std::optional<long long> ReferenceValue(std::string_view text, bool minusAllowed)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t last = text.find_last_not_of(" \t");
    const std::string core(text.substr(first, last - first + 1));
    const std::size_t digits = (core[0] == '+' || core[0] == '-') ? 1 : 0;
    if (digits == core.size() || core.find_first_not_of("0123456789", digits) != std::string::npos) {
        return std::nullopt;
    }
    if (core[0] == '-' && !minusAllowed) {
        return std::nullopt;
    }
    errno = 0;
    const long long value = std::strtoll(core.c_str(), nullptr, 10);
    if (errno == ERANGE || (value == 0 && core[0] != '0')) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::optional<std::int32_t> parsedSigned = ParseSignedField(text);
    const std::optional<long long> signedReference = ReferenceValue(text, true);
    const bool signedExpected = signedReference && *signedReference >= INT32_MIN && *signedReference <= INT32_MAX;
    FUZZ_REQUIRE(parsedSigned.has_value() == signedExpected);
    if (parsedSigned) {
        FUZZ_REQUIRE(*parsedSigned == *signedReference);
        FUZZ_REQUIRE(ParseSignedField(" " + std::to_string(*parsedSigned) + "\t") == parsedSigned);
    }

    const std::optional<std::uint32_t> parsedUnsigned = ParseUnsignedField(text);
    const std::optional<long long> unsignedReference = ReferenceValue(text, false);
    const bool unsignedExpected = unsignedReference && *unsignedReference <= UINT32_MAX;
    FUZZ_REQUIRE(parsedUnsigned.has_value() == unsignedExpected);
    if (parsedUnsigned) {
        FUZZ_REQUIRE(static_cast<long long>(*parsedUnsigned) == *unsignedReference);
        FUZZ_REQUIRE(ParseUnsignedField(std::to_string(*parsedUnsigned)) == parsedUnsigned);
    }
    return 0;
}
