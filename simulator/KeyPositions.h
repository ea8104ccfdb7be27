// Where each object key of a JSON text stands, by its path in the bench parser's notation
// ("modules[0].depth"), so that a complaint about a field can point into the file.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stratigon::sim {

class KeyPositions {
public:
    struct Position {
        std::size_t line = 1;    // counted from 1
        std::size_t column = 1;  // of the key's opening quote, in bytes, counted from 1
    };

    // `text` has already been read as JSON; a key written with escapes is found only by its
    // text as written.
    explicit KeyPositions(std::string_view text);

    std::optional<Position> Find(const std::string& path) const;

private:
    struct Container {
        bool array = false;
        bool expectingKey = false;
        std::size_t index = 0;
        std::string path;
        std::string key;
    };

    static std::string PathOfValueIn(const Container& container);
    void Structure(char c);
    std::size_t String(std::string_view text, std::size_t start);

    std::vector<Container> open_;
    std::map<std::string, Position> positions_;
    Position at_;
};

}  // namespace stratigon::sim
