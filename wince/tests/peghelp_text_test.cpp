// The help viewer's text: the section from an anchor on, without tags,
// headings marked, entities and encodings read; the topic command line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/unicode.h"
#include "help_text.h"

namespace {

using peghelp::HelpParagraph;

// The paragraphs as "# heading" and "text" lines, for readable comparisons.
std::vector<std::string> Lines(const std::vector<HelpParagraph> &paragraphs) {
    std::vector<std::string> lines;
    for (const HelpParagraph &p : paragraphs) lines.push_back((p.heading ? "# " : "") + wince::ToUtf8(p.text));
    return lines;
}

const char kPage[] =
    "<html><head><title>Pelloran Help</title><style>p { margin: 0 }</style></head><body>\n"
    "<h1><a name=\"Main_Contents\"></a>Pelloran</h1>\n"
    "<p>Shows the documents\n   of one folder.</p>\n"
    "<h2 id=\"folder\">The folder page</h2>\n"
    "<p>Choose a <b>folder</b> &amp; its subfolders.<br>Tap OK.</p>\n"
    "<!-- <h2>hidden</h2> -->\n"
    "<h2><a name='documents'>The documents page</a></h2>\n"
    "<ul><li>Pocket Word &lt;psw&gt;</li><li>Notes&#160;&#x2014;&nbsp;voice</li></ul>\n"
    "</body></html>\n";

TEST(HelpText, SectionFromTheAnchorOn) {
    struct Row {
        std::string page, anchor;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {kPage, "folder",
         {"# The folder page", "Choose a folder & its subfolders.", "Tap OK.", "# The documents page",
          "Pocket Word <psw>", "Notes\xC2\xA0\xE2\x80\x94 voice"}},
        // An anchor inside a heading starts at that heading.
        {kPage, "documents", {"# The documents page", "Pocket Word <psw>", "Notes\xC2\xA0\xE2\x80\x94 voice"}},
        {kPage, "Main_Contents",
         {"# Pelloran", "Shows the documents of one folder.", "# The folder page", "Choose a folder & its subfolders.",
          "Tap OK.", "# The documents page", "Pocket Word <psw>", "Notes\xC2\xA0\xE2\x80\x94 voice"}},
        // No anchor, or one the page lacks: the whole body, never the title or style.
        {kPage, "", {"# Pelloran", "Shows the documents of one folder.", "# The folder page",
                     "Choose a folder & its subfolders.", "Tap OK.", "# The documents page", "Pocket Word <psw>",
                     "Notes\xC2\xA0\xE2\x80\x94 voice"}},
        {kPage, "nowhere", {"# Pelloran", "Shows the documents of one folder.", "# The folder page",
                            "Choose a folder & its subfolders.", "Tap OK.", "# The documents page",
                            "Pocket Word <psw>", "Notes\xC2\xA0\xE2\x80\x94 voice"}},
        // Windows-1252 bytes that are no UTF-8; an unknown entity stays as written.
        {"<p>Caf\xE9 \x93quoted\x94 &bogus; end", "", {"Caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D &bogus; end"}},
        // Damaged markup ends the text rather than running past it.
        {"<p>before<p unclosed", "", {"before"}},
        {"", "x", {}},
    };
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(Lines(peghelp::HelpSection(rows[i].page, rows[i].anchor)), rows[i].expected) << "row " << i;
}

TEST(HelpText, TopicCommandLines) {
    struct Row {
        const char16_t *line;
        const char16_t *file;
        const char *anchor;
    };
    const Row rows[] = {
        {u"file:Pelloran.htm#folder", u"Pelloran.htm", "folder"},
        {u"FILE:Pelloran.htm#Main_Contents", u"Pelloran.htm", "Main_Contents"},
        {u"  \"file:\\Windows\\x.htm#a\"  ", u"\\Windows\\x.htm", "a"},
        {u"Pelloran.htm", u"Pelloran.htm", ""},
        {u"", u"", ""},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        std::u16string file = u"sentinel";
        std::string anchor = "sentinel";
        peghelp::SplitTopic(rows[i].line, file, anchor);
        EXPECT_EQ(file, rows[i].file) << "row " << i;
        EXPECT_EQ(anchor, rows[i].anchor) << "row " << i;
    }
}

}  // namespace
