// Text conversions for the reader: UTF-16LE to UTF-8, and 8-bit strings of ANSI files decoded with a
// Windows code page (self-contained tables, no system converter).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pst {

constexpr uint32_t kCodePageWindows1252 = 1252;
constexpr uint32_t kCodePageShiftJis = 932;
constexpr uint32_t kCodePageUtf8 = 65001;

void AppendUtf8(std::string& out, uint32_t codePoint);
// Unpaired surrogates become U+FFFD; an odd trailing byte is dropped.
std::string Utf16LeToUtf8(const uint8_t* data, size_t byteCount);
// Code pages 1252, 932, 20127 (ASCII), 28591 (Latin-1), 65001 (UTF-8) and 50220-50222
// (ISO-2022-JP); any other code page is read as 1252. Bytes with no mapping become U+FFFD.
std::string DecodeAnsi(const uint8_t* data, size_t size, uint32_t codePage);
bool IsSupportedCodePage(uint32_t codePage);

}  // namespace pst
