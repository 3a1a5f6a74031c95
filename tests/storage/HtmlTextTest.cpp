#include <gtest/gtest.h>

#include "storage/HtmlText.h"

namespace {

TEST(HtmlTextTest, FieldsBecomePlainText) {
  struct TCase {
    const char* html;
    const char* text;
  };
  const TCase cases[] = {
      {"<b>bold</b> word", "bold word"},
      {"line<br>break", "line break"},
      {"line<BR/>break", "line break"},
      {"<div>one</div><div>two</div>", "one two"},
      {"&amp; &lt;&gt; &quot;&apos;", "& <> \"'"},
      {"K&auml;se &eacute;t&eacute; &euro;", "K\xC3\xA4se \xC3\xA9t\xC3\xA9 \xE2\x82\xAC"},
      {"&#228;&#xE4;&#X1F600;", "\xC3\xA4\xC3\xA4\xF0\x9F\x98\x80"},
      {"&#0;x&#xD800;", "\xEF\xBF\xBDx\xEF\xBF\xBD"},
      {"a&nbsp;&nbsp;b&nbsp;", "a b"},
      {"  spaced \n\t out  ", "spaced out"},
      {"Tom & Jerry; a < b", "Tom & Jerry; a < b"},
      {"&unknown; &#xZZ;", "&unknown; &#xZZ;"},
      {"<!-- note -->word<style>p{}</style><script>x()</script>", "word"},
      {"<span style=\"color:red\">red</span>", "red"},
      {"x <unclosed", "x <unclosed"},
      {"&#9;tab&#10;line", "tab line"},
  };
  for (const TCase& c : cases) EXPECT_EQ(HtmlToPlainText(c.html).Text, c.text) << c.html;
}

TEST(HtmlTextTest, ImagesAreCounted) {
  const THtmlText text = HtmlToPlainText("<img src=\"a.png\">cat<IMG src='b.jpg'/>");
  EXPECT_EQ(text.Text, "cat");
  EXPECT_EQ(text.Images, 2);
}

TEST(HtmlTextTest, PlainFieldsKeepTheirTags) {
  EXPECT_EQ(PlainFieldText(" <b>a</b>\nb &amp; "), "<b>a</b> b &amp;");
}

}  // namespace
