// Each damaged picture is refused and leaves the reader empty, also after a good one.
#include <cstdio>
#include <vector>

#include "gfx/IndexedPicture.h"

namespace {
using Bytes = std::vector<uint8_t>;
constexpr uint32_t PLAIN = 0, RUN_LENGTH = 1;

void Put32(Bytes& b, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        b[at + i] = static_cast<uint8_t>(value >> 8 * i);
    }
}

// A header claiming width x height and colours, four colours stored, then the data.
Bytes Picture(uint32_t width, uint32_t height, uint32_t kind, Bytes data, uint32_t colours = 4) {
    Bytes b(40 + 4 * 4, 0);
    Put32(b, 0, 40);
    Put32(b, 4, width);
    Put32(b, 8, height);
    b[12] = 1;
    b[14] = 8;
    Put32(b, 16, kind);
    Put32(b, 32, colours);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}
Bytes With(Bytes b, size_t at, uint32_t value) {
    Put32(b, at, value);
    return b;
}
Bytes Cut(Bytes b, size_t size) {
    b.resize(size);
    return b;
}
Bytes Repeated(const Bytes& piece, size_t times, const Bytes& end) {
    Bytes b;
    for (size_t i = 0; i < times; ++i) {
        b.insert(b.end(), piece.begin(), piece.end());
    }
    b.insert(b.end(), end.begin(), end.end());
    return b;
}
}  // namespace

int main() {
    // 3 x 2: a run of three 1s in the bottom row, then 2 3 1 in the top row, end of picture.
    const Bytes rows = {3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 1};
    const Bytes good = Picture(3, 2, RUN_LENGTH, rows);
    const struct {
        const char* what;
        Bytes bytes;
    } damaged[] = {
        {"truncated header", Cut(good, 20)},
        {"header longer than the resource", With(good, 0, 0xFFFFFFF0u)},
        {"truncated stream", Cut(good, good.size() - 4)},
        {"run past the row", Picture(3, 2, RUN_LENGTH, {4, 1, 0, 1})},
        {"copied run past the row", Picture(3, 2, RUN_LENGTH, {2, 1, 0, 3, 1, 2, 3, 0, 0, 1})},
        {"delta past the row", Picture(3, 2, RUN_LENGTH, {0, 2, 4, 0, 0, 1})},
        {"deltas past the picture",
         Picture(3, 2, RUN_LENGTH, Repeated({0, 2, 0, 1}, 1 << 20, {1, 1, 0, 1}))},
        {"ends of line past the picture",
         Picture(3, 2, RUN_LENGTH, Repeated({0, 0}, 1 << 20, {1, 1, 0, 1}))},
        {"plain rows past the resource", Picture(3, 2, PLAIN, {1, 2, 3, 0})},
        {"top-down run-length", With(good, 8, 0xFFFFFFFEu)},
        {"4096 x 4096", Picture(4096, 4096, RUN_LENGTH, rows)},
        {"1025 wide", Picture(1025, 1, RUN_LENGTH, {255, 1, 255, 1, 255, 1, 255, 1, 5, 1, 0, 1})},
        {"1025 high", Picture(1, 1025, PLAIN, Bytes(4 * 1025, 1))},
        {"no width", With(good, 4, 0)},
        {"negative width", With(good, 4, 0xFFFFFFFDu)},
        {"height -2^31", Picture(3, 0x80000000u, PLAIN, Bytes(64, 1))},
        {"colour table shorter than its count", With(good, 32, 256)},
        {"more than 256 colours", Picture(3, 2, RUN_LENGTH, Bytes(2000, 0), 257)},
    };
    IndexedPicture picture;
    int failures = 0;
    if (picture.Read(good.data(), good.size()) != IndexedPicture::Result::Read ||
        picture.Row(0)[0] != 2 || picture.Row(1)[2] != 1) {
        std::printf("the good picture does not read\n");
        ++failures;
    }
    for (const auto& c : damaged) {
        picture.Read(good.data(), good.size());
        const bool refused =
            picture.Read(c.bytes.data(), c.bytes.size()) == IndexedPicture::Result::Refused;
        if (!refused || picture.Width() || picture.Height() || picture.ColourCount()) {
            std::printf("not refused, or not left empty: %s\n", c.what);
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
