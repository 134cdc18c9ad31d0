#include "Cursor.h"

std::vector<std::string> HandCursorRows() {
    // '#' black, 'o' white, '.' the screen shows through.
    std::vector<std::string> rows = {
        "....###",
        "...#ooo#",
        "...#ooo#",
        "...#ooo#",
        "...#ooo#",
        "...#ooo####",
        "...#ooo#ooo###",
        "...#ooo#ooo#ooo##",
        "...#ooo#ooo#ooo#o#",
        "...#ooo#ooo#ooo#oo#",
        ".###ooo#ooo#ooo#oo#",
        "#ooo#ooooooooooooo#",
        "#oooo#oooooooooooo#",
        ".#oooo#ooooooooooo#",
        "..#oooooooooooooooo#",
        "...#ooooooooooooooo#",
        "...#oooooooooooooo#",
        "....#ooooooooooooo#",
        "....#oooooooooooo#",
        ".....#ooooooooooo#",
        ".....#ooooooooooo#",
        ".....#############",
    };
    while (rows.size() < 32) {
        rows.emplace_back();
    }
    for (auto& row : rows) {
        row.resize(32, '.');
    }
    return rows;
}
