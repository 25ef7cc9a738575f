// The view's copy of a page: the formatting kept as written, everything that
// can name a file gone, nesting bounded, whatever the markup.
#include "platform/htmlfilter.h"

#include <QString>
#include <gtest/gtest.h>

#include "support/printers.h"

namespace {

using platform::harmlessHtml;
using platform::kMaxHtmlDepth;

struct Case {
  const char* name;
  const char* page;
  const char* copy;
};

class Filtered : public ::testing::TestWithParam<Case> {};

TEST_P(Filtered, Copy) {
  EXPECT_EQ(harmlessHtml(QString::fromUtf8(GetParam().page)), QString::fromUtf8(GetParam().copy));
}

const Case kKept[] = {
    Case{"PlainText", "Nothing is held, and nothing asked.\r\n", "Nothing is held, and nothing asked.\r\n"},
    Case{"PageLines", "<b><i>Bowl - Ember</i></b><br>\r\nA small warmth.<br><br>\r\n",
         "<b><i>Bowl - Ember</i></b><br>\r\nA small warmth.<br><br>\r\n"},
    // "</>" closes nothing in Qt either: the italics end with the bold.
    Case{"HeadingOfEqualCodes", "<b><i>Bowl - Bowl</></b><br>\r\nx<br><br>\r\n",
         "<b><i>Bowl - Bowl</i></b><br>\r\nx<br><br>\r\n"},
    Case{"Emphasis", "<b>b</b> <i>i</i> <u>u</u> <s>s</s> <em>e</em> <strong>s</strong> x<sub>2</sub><sup>3</sup>",
         "<b>b</b> <i>i</i> <u>u</u> <s>s</s> <em>e</em> <strong>s</strong> x<sub>2</sub><sup>3</sup>"},
    Case{"CaseAndQuotes", "<B>x</B><FONT COLOR=Red SIZE=+1>y</FONT>",
         "<b>x</b><font color=\"Red\" size=\"+1\">y</font>"},
    Case{"FontColourAndSize", "<font color='#ff8000' size=\"2\">a</font><font color=#abc size=-1>b</font>",
         "<font color=\"#ff8000\" size=\"2\">a</font><font color=\"#abc\" size=\"-1\">b</font>"},
    Case{"Breaks", "a<br>b<BR/>c<br />d</br>e", "a<br>b<br>c<br>de"},
    Case{"Paragraphs", "<p align=center>a</p><p>b<p>c", "<p align=\"center\">a</p><p>b</p><p>c</p>"},
    Case{"Lists", "<ul><li>a<li>b</ul><ol><li>c</li></ol>", "<ul><li>a</li><li>b</li></ul><ol><li>c</li></ol>"},
    Case{"AnchorsOfThePage", "<a name=top>t</a> <a href='#top'>up</a>",
         "<a name=\"top\">t</a> <a href=\"#top\">up</a>"},
    Case{"Entities", "&lt;b&gt; &amp; &nbsp;&#60;&#x3c; & fish &unknown;",
         "&lt;b&gt; &amp; &nbsp;&#60;&#x3c; & fish &unknown;"},
};
INSTANTIATE_TEST_SUITE_P(Kept, Filtered, ::testing::ValuesIn(kKept),
                         [](const auto& info) { return std::string(info.param.name); });

// Each of these can name a file, or carries a style that can.
const Case kDropped[] = {
    Case{"Image", "a<img src='/tmp/fifo'>b<IMG SRC=/dev/zero />c", "abc"},
    Case{"ImageWithQuotedBracket", "a<img alt=\"x>y\" src=/f>b", "ab"},
    Case{"StyleWithImport", "<style>@import url('/tmp/fifo'); b {}</style>after", "after"},
    Case{"StyleInAnyCase", "<STYLE type=text/css>p { background: url(/f) }</Style >after", "after"},
    Case{"Script", "<script>var x = '<b>';</script>x", "x"},
    Case{"Title", "<head><title>t</title></head>x", "x"},
    Case{"Link", "<link rel=stylesheet type=text/css href='/tmp/fifo'>x", "x"},
    Case{"HrefLeavingThePage", "<a href='/tmp/fifo'>f</a> <a href=\"file:///dev/zero\">z</a> <a href=#>e</a>",
         "<a>f</a> <a>z</a> <a>e</a>"},
    Case{"Background", "<body background='/f' bgcolor=red>x</body>", "x"},
    Case{"Table", "<table background=/f><tr><td background=/g>cell</td></tr></table>", "cell"},
    Case{"ObjectAndFrame", "<object data=/f>o</object><iframe src=/f>i</iframe><embed src=/f>", "oi"},
    Case{"StyleAttribute", "<b style=\"background-image: url('/f')\" class=c id=d>x</b>", "<b>x</b>"},
    Case{"FontFaceAndBadValues", "<font face=Arial color=\"url(/f)\" size=99>x</font><font color='&#35;fff'>y</font>",
         "<font>x</font><font>y</font>"},
    Case{"OtherElements", "<div><span>a</span></div><blockquote>b</blockquote><h1>c</h1><pre>d</pre>", "abcd"},
};
INSTANTIATE_TEST_SUITE_P(Dropped, Filtered, ::testing::ValuesIn(kDropped),
                         [](const auto& info) { return std::string(info.param.name); });

const Case kMalformed[] = {
    Case{"BracketsInText", "a < b, c<3, <> and x<", "a &lt; b, c&lt;3, &lt;> and x&lt;"},
    Case{"EmptyClosingTag", "x</>y", "xy"},
    Case{"UnclosedAtTheEnd", "<b>bold <i>both", "<b>bold <i>both</i></b>"},
    Case{"StrayClosingTags", "</b>stray</i></font>", "stray"},
    Case{"Overlapping", "<b><i>x</b>y</i>", "<b><i>x</i></b>y"},
    Case{"Comment", "<!-- <img src=/f> -->x<!---->y", "xy"},
    Case{"CommentNeverClosed", "x<!-- <b>", "x"},
    Case{"Declarations", "<!DOCTYPE html><?xml version=1?>x", "x"},
    Case{"TagNeverClosed", "x<b", "x"},
    Case{"QuoteNeverClosed", "x<img src=\"/f>y<b>z", "x"},
    Case{"StyleNeverClosed", "x<style>b { } <b>y", "x"},
    Case{"SelfClosed", "<b/>x<p/>y", "<b></b>x<p></p>y"},
};
INSTANTIATE_TEST_SUITE_P(Malformed, Filtered, ::testing::ValuesIn(kMalformed),
                         [](const auto& info) { return std::string(info.param.name); });

QString repeated(const char* piece, int times) { return QString(piece).repeated(times); }

TEST(Nesting, CappedAndFlattenedIntoText) {
  const QString deep = repeated("<b>", 40) + "x" + repeated("</b>", 40) + "<i>y</i>";
  EXPECT_EQ(harmlessHtml(deep), repeated("<b>", kMaxHtmlDepth) + "x" + repeated("</b>", kMaxHtmlDepth) + "<i>y</i>");

  // The closing tags of what was flattened close nothing that was kept.
  const QString mixed = repeated("<b>", kMaxHtmlDepth) + "<i>x</i>" + "</b>y" + repeated("</b>", kMaxHtmlDepth);
  EXPECT_EQ(harmlessHtml(mixed), repeated("<b>", kMaxHtmlDepth) + "x</b>y" + repeated("</b>", kMaxHtmlDepth - 1));
}

// The inputs that froze or crashed Qt's engine, and worse: the copy keeps
// the text and a bounded nest, and takes one pass over the page.
TEST(Nesting, HostileInputsGiveABoundedCopy) {
  const QString text = QString("w").repeated(10);
  EXPECT_EQ(harmlessHtml(repeated("<b>", 1000000) + text),
            repeated("<b>", kMaxHtmlDepth) + text + repeated("</b>", kMaxHtmlDepth));
  EXPECT_EQ(harmlessHtml(repeated("<table><tr><td>", 100000) + text + repeated("</td></tr></table>", 100000)), text);
  EXPECT_EQ(harmlessHtml(repeated("<ul><li>", 100000) + text),
            repeated("<ul><li>", kMaxHtmlDepth / 2) + text + repeated("</li></ul>", kMaxHtmlDepth / 2));
  EXPECT_EQ(harmlessHtml(repeated("<div>", 100000) + text + repeated("</div>", 100000)), text);

  // Markup that never ends, and text that is all brackets.
  EXPECT_EQ(harmlessHtml(repeated("<a <a '", 300000)), QString());
  EXPECT_EQ(harmlessHtml(repeated("</b", 300000)), QString());
  EXPECT_EQ(harmlessHtml("x" + repeated("<!--", 300000)), "x");
  EXPECT_EQ(harmlessHtml(repeated("<style>", 300000)), QString());
  EXPECT_EQ(harmlessHtml(repeated("<", 1000000)), repeated("&lt;", 1000000));
  EXPECT_EQ(harmlessHtml(repeated("<b/>", 300000)), repeated("<b></b>", 300000));
}

}  // namespace
