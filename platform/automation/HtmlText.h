// HTML bodies for the stand-in servers: decoding the stored bytes with the right code page, and the
// plain text a reader sees on screen when a message carries only HTML.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace automation {

// The code page of a charset name as HTML and MIME spell it ("utf-8", "Windows-1252", "shift_jis");
// 0 when unknown.
unsigned CodePageForCharset(const std::string& charset);

// Decodes HTML bytes: with `codePage` when given (PR_INTERNET_CPID), else with the charset a UTF-8
// byte order mark or the document's meta tag names, else Windows-1252.
std::wstring DecodeHtmlBytes(const std::string& bytes, std::optional<unsigned> codePage);

// Tags dropped (with the contents of head, script and style), entities decoded, runs of white space
// collapsed outside <pre>, block elements and <br> as CRLF line breaks, table cells separated by tabs.
std::wstring HtmlToPlainText(const std::wstring& html);

}  // namespace automation
