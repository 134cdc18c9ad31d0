#include "FileFormats.h"

#include <cstdio>
#include <stdexcept>

namespace {
void Put16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
uint32_t Get32(const Bytes& b, size_t at) {
    return uint32_t(b.at(at)) | uint32_t(b.at(at + 1)) << 8 | uint32_t(b.at(at + 2)) << 16 |
           uint32_t(b.at(at + 3)) << 24;
}

void PutInfoHeader(Bytes& b, int width, int height, int bits, uint32_t compression,
                   uint32_t imageSize, uint32_t coloursUsed) {
    Put32(b, 40);
    Put32(b, uint32_t(width));
    Put32(b, uint32_t(height));
    Put16(b, 1);
    Put16(b, uint32_t(bits));
    Put32(b, compression);
    Put32(b, imageSize);
    Put32(b, 2835);  // 72 dpi
    Put32(b, 2835);
    Put32(b, coloursUsed);
    Put32(b, 0);
}

void PutColourTable(Bytes& b, const std::vector<Rgb>& table, size_t entries) {
    for (size_t i = 0; i < entries; ++i) {
        const Rgb c = i < table.size() ? table[i] : Rgb{};
        b.push_back(c.b);
        b.push_back(c.g);
        b.push_back(c.r);
        b.push_back(0);
    }
}

// One row in RLE8: runs of two or more equal pixels as encoded pairs, other stretches of
// three or more as absolute runs (padded to a word), lone pixels as runs of one.
void EncodeRow(Bytes& out, const uint8_t* row, int width) {
    int x = 0;
    while (x < width) {
        int run = 1;
        while (x + run < width && run < 255 && row[x + run] == row[x]) {
            ++run;
        }
        if (run >= 2) {
            out.push_back(uint8_t(run));
            out.push_back(row[x]);
            x += run;
            continue;
        }
        // Literal stretch until the next pair of equal pixels.
        int end = x + 1;
        while (end < width && end - x < 255 && !(end + 1 < width && row[end] == row[end + 1])) {
            ++end;
        }
        const int count = end - x;
        if (count >= 3) {
            out.push_back(0);
            out.push_back(uint8_t(count));
            out.insert(out.end(), row + x, row + end);
            if (count & 1) {
                out.push_back(0);
            }
        } else {
            for (int i = x; i < end; ++i) {
                out.push_back(1);
                out.push_back(row[i]);
            }
        }
        x = end;
    }
}
}  // namespace

Bytes EncodeBmp(const IndexedImage& image, bool runLength) {
    if (image.table.size() < 4 || image.table.size() > 256) {
        throw std::runtime_error("colour table must hold 4 to 256 entries");
    }
    Bytes data;
    if (runLength) {
        for (int y = image.height - 1; y >= 0; --y) {
            EncodeRow(data, &image.pixels[size_t(y) * image.width], image.width);
            data.push_back(0);
            data.push_back(y == 0 ? 1 : 0);  // end of line, or end of bitmap after the top row
        }
    } else {
        const int stride = (image.width + 3) & ~3;
        for (int y = image.height - 1; y >= 0; --y) {
            for (int x = 0; x < stride; ++x) {
                data.push_back(x < image.width ? image.At(x, y) : 0);
            }
        }
    }
    const uint32_t tableBytes = uint32_t(image.table.size()) * 4;
    const uint32_t offset = 14 + 40 + tableBytes;
    Bytes file;
    file.push_back('B');
    file.push_back('M');
    Put32(file, offset + uint32_t(data.size()));
    Put32(file, 0);
    Put32(file, offset);
    PutInfoHeader(file, image.width, image.height, 8, runLength ? 1 : 0, uint32_t(data.size()),
                  uint32_t(image.table.size()));
    PutColourTable(file, image.table, image.table.size());
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

IndexedImage DecodeBmp(const Bytes& file) {
    IndexedImage image;
    const uint32_t offset = Get32(file, 10);
    image.width = int(Get32(file, 18));
    image.height = int(Get32(file, 22));
    const uint32_t compression = Get32(file, 30);
    const uint32_t used = Get32(file, 46);
    for (uint32_t i = 0; i < used; ++i) {
        const size_t at = 54 + i * 4;
        image.table.push_back(Rgb{file.at(at + 2), file.at(at + 1), file.at(at)});
    }
    image.pixels.assign(size_t(image.width) * image.height, 0);
    std::vector<bool> written(image.pixels.size(), false);
    auto put = [&](int x, int y, uint8_t v) {
        if (x >= image.width || y < 0) {
            throw std::runtime_error("run-length data outside the picture");
        }
        const size_t k = size_t(image.height - 1 - y) * image.width + x;
        image.pixels[k] = v;
        written[k] = true;
    };
    if (compression == 0) {
        const int stride = (image.width + 3) & ~3;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                put(x, y, file.at(offset + size_t(y) * stride + x));
            }
        }
    } else {
        size_t at = offset;
        int x = 0;
        int y = 0;
        for (;;) {
            const uint8_t n = file.at(at++);
            const uint8_t v = file.at(at++);
            if (n > 0) {
                for (int i = 0; i < n; ++i) {
                    put(x++, y, v);
                }
            } else if (v == 0) {
                x = 0;
                ++y;
            } else if (v == 1) {
                break;
            } else if (v == 2) {
                throw std::runtime_error("delta in run-length data");
            } else {
                for (int i = 0; i < v; ++i) {
                    put(x++, y, file.at(at++));
                }
                at += v & 1;
            }
        }
    }
    for (bool w : written) {
        if (!w) {
            throw std::runtime_error("pixel left out of the bitmap data");
        }
    }
    return image;
}

PixelMask::PixelMask(int l, int t, int w, int h)
    : left(l), top(t), width(w), height(h), on(size_t(w) * h, 0) {}

bool PixelMask::At(int x, int y) const {
    x -= left;
    y -= top;
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return false;
    }
    return on[size_t(y) * width + x] != 0;
}

void PixelMask::Set(int x, int y, bool value) {
    x -= left;
    y -= top;
    if (x < 0 || y < 0 || x >= width || y >= height) {
        throw std::runtime_error("mask cell outside the mask");
    }
    on[size_t(y) * width + x] = value ? 1 : 0;
}

std::vector<RegionRect> BandedRects(const PixelMask& mask) {
    using Spans = std::vector<std::pair<int, int>>;
    auto spansOf = [&](int row) {
        Spans spans;
        int x = 0;
        while (x < mask.width) {
            if (!mask.on[size_t(row) * mask.width + x]) {
                ++x;
                continue;
            }
            int end = x;
            while (end < mask.width && mask.on[size_t(row) * mask.width + end]) {
                ++end;
            }
            spans.emplace_back(mask.left + x, mask.left + end);
            x = end;
        }
        return spans;
    };
    std::vector<RegionRect> rects;
    int row = 0;
    while (row < mask.height) {
        Spans spans = spansOf(row);
        int end = row + 1;
        while (end < mask.height && spansOf(end) == spans) {
            ++end;
        }
        for (auto& s : spans) {
            rects.push_back({s.first, mask.top + row, s.second, mask.top + end});
        }
        row = end;
    }
    return rects;
}

Bytes EncodeRegion(const std::vector<RegionRect>& rects) {
    if (rects.empty()) {
        throw std::runtime_error("empty region");
    }
    RegionRect bound = rects[0];
    for (const auto& r : rects) {
        bound.left = std::min(bound.left, r.left);
        bound.top = std::min(bound.top, r.top);
        bound.right = std::max(bound.right, r.right);
        bound.bottom = std::max(bound.bottom, r.bottom);
    }
    Bytes b;
    Put32(b, 32);
    Put32(b, 1);
    Put32(b, uint32_t(rects.size()));
    Put32(b, uint32_t(rects.size() * 16));
    for (int v : {bound.left, bound.top, bound.right, bound.bottom}) {
        Put32(b, uint32_t(v));
    }
    for (const auto& r : rects) {
        for (int v : {r.left, r.top, r.right, r.bottom}) {
            Put32(b, uint32_t(v));
        }
    }
    return b;
}

namespace {
// XOR (colour) rows then the AND mask rows, bottom-up, each row padded to four bytes.
Bytes IconBits(const IconImage& icon) {
    Bytes b;
    const int n = icon.size;
    const int colourStride = ((n * icon.bitsPerPixel + 31) / 32) * 4;
    const int maskStride = ((n + 31) / 32) * 4;
    PutInfoHeader(b, n, n * 2, icon.bitsPerPixel, 0, uint32_t((colourStride + maskStride) * n), 0);
    const size_t entries = size_t(1) << icon.bitsPerPixel;
    if (icon.colours.table.size() > entries) {
        throw std::runtime_error("icon uses too many colours");
    }
    PutColourTable(b, icon.colours.table, entries);
    for (int y = n - 1; y >= 0; --y) {
        Bytes row(size_t(colourStride), 0);
        for (int x = 0; x < n; ++x) {
            const uint8_t v = icon.transparent[size_t(y) * n + x] ? 0 : icon.colours.At(x, y);
            if (icon.bitsPerPixel == 8) {
                row[size_t(x)] = v;
            } else {
                row[size_t(x / 2)] |= uint8_t(x % 2 == 0 ? v << 4 : v);
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    for (int y = n - 1; y >= 0; --y) {
        Bytes row(size_t(maskStride), 0);
        for (int x = 0; x < n; ++x) {
            if (icon.transparent[size_t(y) * n + x]) {
                row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}
}  // namespace

Bytes EncodeIcon(const std::vector<IconImage>& images) {
    Bytes b;
    Put16(b, 0);
    Put16(b, 1);
    Put16(b, uint32_t(images.size()));
    std::vector<Bytes> bodies;
    for (const auto& icon : images) {
        bodies.push_back(IconBits(icon));
    }
    uint32_t offset = 6 + 16 * uint32_t(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        b.push_back(uint8_t(images[i].size));
        b.push_back(uint8_t(images[i].size));
        b.push_back(images[i].bitsPerPixel == 4 ? 16 : 0);
        b.push_back(0);
        Put16(b, 1);
        Put16(b, uint32_t(images[i].bitsPerPixel));
        Put32(b, uint32_t(bodies[i].size()));
        Put32(b, offset);
        offset += uint32_t(bodies[i].size());
    }
    for (const auto& body : bodies) {
        b.insert(b.end(), body.begin(), body.end());
    }
    return b;
}

Bytes EncodeMonoCursor(const std::vector<std::string>& rows, int hotX, int hotY) {
    if (rows.size() != 32) {
        throw std::runtime_error("cursor must have 32 rows");
    }
    Bytes body;
    PutInfoHeader(body, 32, 64, 1, 0, 32 * 4 * 2, 0);
    PutColourTable(body, {Rgb{0, 0, 0}, Rgb{255, 255, 255}}, 2);
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = 31; y >= 0; --y) {
            if (rows[size_t(y)].size() != 32) {
                throw std::runtime_error("cursor rows must be 32 wide");
            }
            uint8_t row[4] = {0, 0, 0, 0};
            for (int x = 0; x < 32; ++x) {
                const char c = rows[size_t(y)][size_t(x)];
                const bool bit = pass == 0 ? c == 'o' : c == '.';
                if (bit) {
                    row[x / 8] |= uint8_t(0x80 >> (x % 8));
                }
            }
            body.insert(body.end(), row, row + 4);
        }
    }
    Bytes b;
    Put16(b, 0);
    Put16(b, 2);
    Put16(b, 1);
    b.push_back(32);
    b.push_back(32);
    b.push_back(0);
    b.push_back(0);
    Put16(b, uint32_t(hotX));
    Put16(b, uint32_t(hotY));
    Put32(b, uint32_t(body.size()));
    Put32(b, 6 + 16);
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        throw std::runtime_error("cannot write " + path);
    }
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}
