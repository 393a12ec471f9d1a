// HTML bodies: decoding by code page, charset names, and the plain text a reader sees.
#include "HtmlText.h"

#include <gtest/gtest.h>

using automation::CodePageForCharset;
using automation::DecodeHtmlBytes;
using automation::HtmlToPlainText;

TEST(HtmlToPlainText, DropsTagsHeadScriptAndStyleAndBreaksBlocks) {
  std::wstring html =
      L"<html><head><title>T</title><style>p{color:red}</style></head><body>"
      L"<p class=MsoNormal>Hello <b>dear</b>\r\n   reader,</p><div>second&nbsp;line<br>third</div>"
      L"<script>alert('x')</script><!-- hidden <p>comment</p> --><p>end</p></body></html>";
  EXPECT_EQ(L"Hello dear reader,\r\nsecond line\r\nthird\r\nend", HtmlToPlainText(html));
}

TEST(HtmlToPlainText, DecodesEntitiesAndKeepsStrayAmpersandsAndBrackets) {
  EXPECT_EQ(L"a & b < c > d \"e\" \u00e9 \u20ac \U0001F600 &unknown; x<3 AT&T",
            HtmlToPlainText(
                L"a &amp; b &lt; c &gt; d &quot;e&quot; &eacute; &#8364; &#x1F600; &unknown; x<3 AT&T"));
  EXPECT_EQ(L"\uFFFD", HtmlToPlainText(L"&#xD800;"));
}

TEST(HtmlToPlainText, PreformattedTextKeepsItsLinesAndTablesUseTabs) {
  EXPECT_EQ(L"a  b\r\n  c", HtmlToPlainText(L"<pre>a  b\n  c</pre>"));
  EXPECT_EQ(L"Name\tMail\r\nAnn\tann@x",
            HtmlToPlainText(
                L"<table><tr><td>Name</td><td>Mail</td></tr><tr><td>Ann</td><td>ann@x</td></tr></table>"));
  EXPECT_EQ(L"", HtmlToPlainText(L"<html><body>  </body></html>"));
  EXPECT_EQ(L"unterminated", HtmlToPlainText(L"unterminated<b class=\"x"));
  EXPECT_EQ(L"it's here\r\nnext", HtmlToPlainText(L"<p class=x' title = \"a>b\">it's here</p><P>next</P>"));
  EXPECT_EQ(L"before after", HtmlToPlainText(L"before <SCRIPT type=x>var a = '</p>';</script >after"));
}

TEST(DecodeHtmlBytes, CodePageThenMetaCharsetThenWindows1252) {
  // "Привет" in Windows-1251.
  std::string cyrillic = "<p>\xCF\xF0\xE8\xE2\xE5\xF2</p>";
  EXPECT_EQ(L"<p>\u041f\u0440\u0438\u0432\u0435\u0442</p>", DecodeHtmlBytes(cyrillic, 1251u));
  std::string meta =
      "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-2\">"
      "</head><body>\xB1</body></html>";
  EXPECT_NE(std::wstring::npos, DecodeHtmlBytes(meta, std::nullopt).find(L"\u0105"));
  std::string meta5 = "<meta charset=\"utf-8\"><p>\xC3\xA9</p>";
  EXPECT_EQ(L"<meta charset=\"utf-8\"><p>\u00e9</p>", DecodeHtmlBytes(meta5, std::nullopt));
  EXPECT_EQ(L"<p>\u20ac</p>", DecodeHtmlBytes("<p>\x80</p>", std::nullopt));
  EXPECT_EQ(L"<p>\u00e9</p>", DecodeHtmlBytes("\xEF\xBB\xBF<p>\xC3\xA9</p>", std::nullopt));
  // A code page the system does not know falls back to the document's own words.
  EXPECT_EQ(L"<p>\u20ac</p>", DecodeHtmlBytes("<p>\x80</p>", 12345u));
}

TEST(CodePageForCharset, KnownNamesAndNumericForms) {
  EXPECT_EQ(65001u, CodePageForCharset("UTF-8"));
  EXPECT_EQ(932u, CodePageForCharset("Shift_JIS"));
  EXPECT_EQ(1256u, CodePageForCharset("windows-1256"));
  EXPECT_EQ(1252u, CodePageForCharset("cp1252"));
  EXPECT_EQ(0u, CodePageForCharset("klingon"));
  EXPECT_EQ(0u, CodePageForCharset("windows-"));
}
