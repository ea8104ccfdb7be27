// The sorted list without a window: it orders and selects its lines as the sorted list box
// does, for automation, the command-line tool and tests.
#pragma once

#include <string>
#include <vector>

#include "catalogue/ISortedList.h"

namespace stratigon {

class CSortedList final : public ISortedList {
public:
    int AddString(const std::string& line) override;
    int GetCount() const override;
    std::string GetText(int index) const override;
    int GetCurSel() const override { return m_selection; }
    void SetCurSel(int index) override;

private:
    std::vector<std::string> m_lines;
    int m_selection = kNoSelection;
};

}  // namespace stratigon
