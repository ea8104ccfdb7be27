#include "catalogue/CSortedList.h"

#include <algorithm>

#include "catalogue/CatalogueText.h"

namespace stratigon {

int CSortedList::AddString(const std::string& line)
{
    // A new line goes after the lines that equal it, so equal lines keep their arrival order.
    const auto place = std::upper_bound(m_lines.begin(), m_lines.end(), line, [](const std::string& a, const std::string& b) {
        return CompareIgnoringCase(a, b) < 0;
    });
    const int index = static_cast<int>(place - m_lines.begin());
    m_lines.insert(place, line);
    if (m_selection >= index)
        ++m_selection;
    return index;
}

int CSortedList::GetCount() const { return static_cast<int>(m_lines.size()); }

std::string CSortedList::GetText(int index) const
{
    if (index < 0 || index >= GetCount())
        return {};
    return m_lines[static_cast<std::size_t>(index)];
}

void CSortedList::SetCurSel(int index) { m_selection = index >= 0 && index < GetCount() ? index : kNoSelection; }

}  // namespace stratigon
