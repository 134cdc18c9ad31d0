// Damaged 8-bit pictures: each is refused and leaves the reader empty, also after it read a
// good one. Built with the sanitizers, which fail the run on any access outside a buffer.
#include <cstdio>
#include <utility>
#include <vector>

#include "gfx/IndexedPicture.h"

namespace {
using Bytes = std::vector<uint8_t>;
// Three 1s in the bottom row, then 2 3 1 as they are, then the end mark.
const Bytes ROWS = {3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 1};

// A 3 x 2 run-length picture of four colours with header fields (offset, value) changed,
// the data after the colours, cut to size bytes if size is given.
Bytes Picture(std::vector<std::pair<size_t, uint32_t>> fields, const Bytes& data = ROWS,
              size_t size = 0) {
    Bytes b(56, 0);
    fields.insert(fields.begin(), {{0, 40}, {4, 3}, {8, 2}, {12, 0x80001}, {16, 1}, {32, 4}});
    for (const auto& [at, value] : fields) {
        for (size_t i = 0; i < 4; ++i) {
            b[at + i] = static_cast<uint8_t>(value >> 8 * i);
        }
    }
    b.insert(b.end(), data.begin(), data.end());
    b.resize(size ? size : b.size());
    return b;
}
}  // namespace

int main() {
    const Bytes good = Picture({});
    const struct {
        const char* what;
        Bytes bytes;
    } damaged[] = {
        {"truncated header", Picture({}, ROWS, 20)},
        {"header longer than the resource", Picture({{0, 0xFFFFFFF0u}})},
        {"truncated stream", Picture({}, ROWS, good.size() - 4)},
        {"run past the row", Picture({}, {4, 1, 0, 1})},
        {"copied run past the row", Picture({}, {2, 1, 0, 3, 1, 2, 3, 0, 0, 1})},
        {"delta past the row", Picture({}, {0, 2, 4, 0, 0, 1})},
        {"deltas past the picture", Picture({}, {0, 2, 0, 1, 0, 2, 0, 1, 1, 1, 0, 1})},
        {"ends of line past the picture", Picture({}, {0, 0, 0, 0, 0, 0, 1, 1, 0, 1})},
        {"plain rows past the resource", Picture({{16, 0}}, {1, 2, 3, 0})},
        {"top-down run-length", Picture({{8, 0xFFFFFFFEu}})},
        {"4096 x 4096", Picture({{4, 4096}, {8, 4096}})},
        {"1025 wide", Picture({{4, 1025}, {8, 1}}, {255, 1, 255, 1, 255, 1, 255, 1, 5, 1, 0, 1})},
        {"1025 high", Picture({{4, 1}, {8, 1025}, {16, 0}}, Bytes(4 * 1025, 1))},
        {"negative width", Picture({{4, 0xFFFFFFFDu}})},
        {"height -2^31", Picture({{8, 0x80000000u}, {16, 0}}, Bytes(64, 1))},
        {"colour table shorter than its count", Picture({{32, 256}})},
        {"more than 256 colours", Picture({{32, 257}}, Bytes(2000, 0))},
    };
    IndexedPicture picture;
    int failures = 0;
    if (picture.Read(good.data(), good.size()) != IndexedPicture::Result::Read ||
        picture.Row(0)[0] != 2 || picture.Row(1)[2] != 1) {
        std::puts("the good picture does not read");
        ++failures;
    }
    for (const auto& [what, bytes] : damaged) {
        picture.Read(good.data(), good.size());
        if (picture.Read(bytes.data(), bytes.size()) != IndexedPicture::Result::Refused ||
            picture.Width() || picture.Height() || picture.ColourCount()) {
            std::printf("not refused, or not left empty: %s\n", what);
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
