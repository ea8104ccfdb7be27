// A list of text lines kept in alphabetical order, letter case ignored, with at most one
// selected line: the possible-upgrade list box of the dialog, or a CSortedList elsewhere.
#pragma once

#include <string>

namespace stratigon {

class ISortedList {
public:
    static constexpr int kNoSelection = -1;

    virtual ~ISortedList() = default;
    // Puts the line at its sorted place and returns that place.
    virtual int AddString(const std::string& line) = 0;
    virtual int GetCount() const = 0;
    virtual std::string GetText(int index) const = 0;
    virtual int GetCurSel() const = 0;
    // kNoSelection, or an index outside the list, clears the selection.
    virtual void SetCurSel(int index) = 0;
};

}  // namespace stratigon
