// Code page 1253 texts and their UTF-16 form at the Win32 boundary.
#pragma once
#include <string>
#include <string_view>

namespace forms {

// Every byte of a code page 1253 text has a UTF-16 unit; the bytes that the code page leaves
// undefined map where Windows maps them, so a text survives the round trip unchanged.
std::wstring Widen(std::string_view cp1253);

// Characters with no code page 1253 byte become '?'.
std::string Narrow(std::wstring_view utf16);

// The capital of a code page 1253 letter (Latin and Greek, accented Greek included); other
// bytes are returned unchanged.
char UpperCp1253(char c);

// UTF-8 for logs and test messages.
std::string ToUtf8(std::string_view cp1253);

}  // namespace forms
