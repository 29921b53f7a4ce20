// Mnemonics of captions: "粉碎(&Y)" is pressed with Y.
#pragma once

#include <optional>
#include <string_view>

namespace tovo::forms {

// The ASCII letter or digit after the first single "&" ("&&" is a literal
// ampersand); nullopt when the caption has none.
std::optional<char> Mnemonic(std::string_view caption);

// True when `key` (a character typed) presses the caption's mnemonic,
// ignoring ASCII case.
bool MatchesMnemonic(std::string_view caption, char32_t key);

}  // namespace tovo::forms
