#include "ui/PopupTexts.h"

#include <windows.h>

#include <cstdlib>

#include "res/resource.h"
#include "win32/CDialog.h"

namespace stratigon::ui {

namespace {

constexpr std::string_view kTopic = ".topic";

std::string_view Trimmed(std::string_view line)
{
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

void Append(std::string& text, std::string_view line, bool& paragraphBreak)
{
    if (line.empty()) {
        paragraphBreak = !text.empty();
        return;
    }
    if (!text.empty())
        text += paragraphBreak ? "\n\n" : " ";
    text += line;
    paragraphBreak = false;
}

}  // namespace

std::map<int, std::string> ParsePopupTexts(std::string_view file)
{
    std::map<int, std::string> topics;
    std::string* current = nullptr;
    bool paragraphBreak = false;
    while (!file.empty()) {
        const auto end = file.find('\n');
        const std::string_view line = Trimmed(file.substr(0, end));
        file = end == std::string_view::npos ? std::string_view() : file.substr(end + 1);
        if (line.substr(0, kTopic.size()) == kTopic) {
            const int number = std::atoi(std::string(line.substr(kTopic.size())).c_str());
            current = number > 0 ? &topics[number] : nullptr;
            paragraphBreak = false;
        } else if (current != nullptr) {
            Append(*current, line, paragraphBreak);
        }
    }
    return topics;
}

const std::map<int, std::string>& EmbeddedPopupTexts()
{
    static const std::map<int, std::string> texts = [] {
        const HINSTANCE instance = win32::CDialog::ResourceInstance();
        const HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(IDR_POPUP_TEXTS), RT_RCDATA);
        const HGLOBAL loaded = found != nullptr ? ::LoadResource(instance, found) : nullptr;
        const char* data = loaded != nullptr ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
        return data == nullptr ? std::map<int, std::string>()
                               : ParsePopupTexts(std::string_view(data, ::SizeofResource(instance, found)));
    }();
    return texts;
}

}  // namespace stratigon::ui
