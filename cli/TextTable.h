// Columns of text lined up for a terminal: every column as wide as its widest cell, two
// blanks between columns, no trailing blanks.
#pragma once

#include <string>
#include <vector>

namespace stratigon::cli {

class TextTable {
public:
    void AddRow(std::vector<std::string> cells) { m_rows.push_back(std::move(cells)); }
    std::string Render() const;

private:
    std::vector<std::vector<std::string>> m_rows;
};

}  // namespace stratigon::cli
