// A help page as the help viewer shows it: the text of the section that
// starts at an anchor, to the end of the page, without its tags, as
// paragraphs of which headings are shown bold.
#pragma once

#include <string>
#include <vector>

namespace peghelp {

struct HelpParagraph {
    std::u16string text;
    bool heading = false;
};

// The page's bytes: UTF-8, or Windows-1252 when they are not UTF-8. An
// anchor is an <a name=...> or an id=... attribute; with an empty anchor,
// or one the page does not have, the whole page is shown.
std::vector<HelpParagraph> HelpSection(const std::string &page, const std::string &anchor);

// "file:NAME.htm#anchor" (the "file:" is optional): the file and the anchor.
void SplitTopic(const std::u16string &commandLine, std::u16string &file, std::string &anchor);

}  // namespace peghelp
