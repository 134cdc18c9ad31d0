// Every colour the artwork uses. Pictures are drawn without blending, so each pixel keeps
// one of these exact values and the colour tables stay small and fixed.
#pragma once

#include <cstdint>
#include <vector>

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;

    uint32_t Key() const { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b; }
    bool operator==(const Rgb& o) const { return Key() == o.Key(); }
    bool operator!=(const Rgb& o) const { return Key() != o.Key(); }
};

namespace col {
// The transparent key of animation frames.
constexpr Rgb MAGENTA{255, 0, 255};

constexpr Rgb INK{38, 32, 44};
constexpr Rgb WHITE{255, 255, 255};
constexpr Rgb BLACK{0, 0, 0};

// Sign rim and wall bracket.
constexpr Rgb RIM_DARK{70, 74, 92};
constexpr Rgb RIM{146, 152, 168};
constexpr Rgb RIM_LIGHT{210, 214, 224};
constexpr Rgb IRON{66, 62, 70};
constexpr Rgb IRON_LIGHT{122, 116, 124};

// Faces.
constexpr Rgb RED{204, 62, 46};
constexpr Rgb RED_DARK{158, 40, 34};
constexpr Rgb CREAM{252, 238, 206};
constexpr Rgb GOLD{234, 182, 62};
constexpr Rgb GOLD_DARK{186, 132, 38};
constexpr Rgb NAVY{32, 58, 106};
constexpr Rgb NAVY_DARK{20, 38, 74};
constexpr Rgb PLATE_BACK{176, 180, 190};

// People.
constexpr Rgb SKIN{246, 198, 160};
constexpr Rgb SKIN_SHADE{216, 158, 122};
constexpr Rgb CHEEK{240, 150, 130};
constexpr Rgb HAIR_BROWN{110, 70, 40};
constexpr Rgb HAIR_SHADE{80, 50, 30};

constexpr Rgb CAP{216, 54, 44};
constexpr Rgb CAP_SHADE{164, 36, 32};
constexpr Rgb OVERALL{60, 102, 176};
constexpr Rgb OVERALL_SHADE{42, 72, 132};
constexpr Rgb SHIRT{250, 208, 84};
constexpr Rgb SHIRT_SHADE{212, 164, 52};
constexpr Rgb BOOT{104, 64, 40};
constexpr Rgb BOOT_SHADE{74, 44, 28};

constexpr Rgb AUBURN{186, 86, 36};
constexpr Rgb AUBURN_SHADE{136, 58, 26};
constexpr Rgb TOP{70, 164, 96};
constexpr Rgb TOP_SHADE{46, 120, 68};
constexpr Rgb TROUSERS{82, 74, 122};
constexpr Rgb TROUSERS_SHADE{58, 52, 90};
constexpr Rgb SHOE{236, 236, 240};
constexpr Rgb SHOE_SHADE{178, 178, 192};
constexpr Rgb BAND{236, 84, 120};

constexpr Rgb CURLS{66, 46, 38};
constexpr Rgb CURLS_SHADE{42, 30, 26};
constexpr Rgb CURLS_LIGHT{108, 76, 58};
constexpr Rgb STRIPE{242, 124, 58};
constexpr Rgb STRIPE_SHADE{200, 94, 40};
constexpr Rgb SHORTS{58, 112, 172};
constexpr Rgb SHORTS_SHADE{40, 80, 132};
constexpr Rgb SNEAKER{214, 48, 48};
constexpr Rgb SNEAKER_SHADE{160, 32, 36};

// Things they carry.
constexpr Rgb WOOD{224, 172, 98};
constexpr Rgb WOOD_SHADE{178, 124, 64};
constexpr Rgb WOOD_LIGHT{244, 210, 146};
constexpr Rgb CLOTH{124, 204, 232};
constexpr Rgb CLOTH_SHADE{80, 160, 200};
constexpr Rgb BOARD{252, 248, 234};
constexpr Rgb BOARD_SHADE{214, 206, 184};

constexpr Rgb STAR{255, 242, 150};
constexpr Rgb STAR_LIGHT{255, 253, 226};
constexpr Rgb STAR_EDGE{228, 196, 84};

// Preview backdrops only; never in a resource.
constexpr Rgb PREVIEW_SKY{206, 222, 236};
constexpr Rgb PREVIEW_WINDOW{238, 238, 232};
constexpr Rgb PREVIEW_TITLE{70, 100, 150};
constexpr Rgb PREVIEW_GRID{150, 170, 190};
}  // namespace col

// The colours a resource picture may use, in a fixed order (the order of its colour table).
const std::vector<Rgb>& ArtColours();
int ArtColourIndex(Rgb colour);  // -1 when the colour is not one of them
