#pragma once
#include <string>
#include <string_view>

// The text a reader sees in a field of HTML, as one line: tags are removed,
// a line break or block boundary (<br>, <div>, <p>, <li>, ...) becomes a
// blank, character references (&amp;, &eacute;, &#233;, &#xE9;) are decoded,
// scripts, styles and comments are dropped, and runs of white space
// (non-breaking ones too) become one blank with none at either end. A "<"
// or "&" that begins no tag or reference stays as it is.
struct THtmlText {
  std::string Text;
  int Images = 0;  // <img> tags, which a phrase cannot show
};

THtmlText HtmlToPlainText(std::string_view html);

// A field without HTML as one line: line breaks and tabs become blanks.
std::string PlainFieldText(std::string_view text);
