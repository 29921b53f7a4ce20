// Text helpers shared by every layer. Text inside the program is UTF-8 in
// std::string; the Win32 boundary converts to UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace tovo {

// UTF-8 to UTF-16. Lone surrogates encoded as three-byte sequences (WTF-8)
// come back as the same surrogates, so every name the file system reports
// survives the round trip. A malformed byte becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);

// UTF-16 to UTF-8. A lone surrogate is kept as its three-byte form (WTF-8)
// instead of being replaced, so the text converts back to the same name.
std::string Utf16ToUtf8(std::u16string_view utf16);

// Removes the bytes 0x00 to 0x20 from both ends.
std::string Trim(std::string_view text);

// ASCII-only case mapping: bytes 'A'..'Z' (or 'a'..'z') change, all others,
// including every byte of a multi-byte character, are copied unchanged.
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);

// Case-insensitive equality under the ASCII mapping above.
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);

}  // namespace tovo
