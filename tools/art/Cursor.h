// The sprite cursor: a hand pointing up with its index finger, hot spot at the fingertip.
#pragma once

#include <string>
#include <vector>

constexpr int CURSOR_HOT_X = 5;
constexpr int CURSOR_HOT_Y = 1;

std::vector<std::string> HandCursorRows();
