// The What's This texts, numbered by topic, in the text-popup format of HTML Help: a line
// ".topic N" and the text after it. The same file goes into the help file and, embedded in
// the program, serves the popups where HTML Help shows none.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace stratigon::ui {

// Lines of one paragraph are joined with blanks; blank lines between paragraphs are kept.
std::map<int, std::string> ParsePopupTexts(std::string_view file);

// The texts embedded in this program's resources; empty when they are missing.
const std::map<int, std::string>& EmbeddedPopupTexts();

}  // namespace stratigon::ui
