#include "Palette.h"

#include <cstddef>
#include <unordered_map>

const std::vector<Rgb>& ArtColours() {
    using namespace col;
    static const std::vector<Rgb> colours = {
        MAGENTA,     INK,           WHITE,      BLACK,        RIM_DARK,    RIM,
        RIM_LIGHT,   IRON,          IRON_LIGHT, RED,          RED_DARK,    CREAM,
        GOLD,        GOLD_DARK,     NAVY,       NAVY_DARK,    PLATE_BACK,  SKIN,
        SKIN_SHADE,  CHEEK,         HAIR_BROWN, HAIR_SHADE,   CAP,         CAP_SHADE,
        OVERALL,     OVERALL_SHADE, SHIRT,      SHIRT_SHADE,  BOOT,        BOOT_SHADE,
        AUBURN,      AUBURN_SHADE,  TOP,        TOP_SHADE,    TROUSERS,    TROUSERS_SHADE,
        SHOE,        SHOE_SHADE,    BAND,       CURLS,        CURLS_SHADE, CURLS_LIGHT,
        STRIPE,      STRIPE_SHADE,  SHORTS,     SHORTS_SHADE, SNEAKER,     SNEAKER_SHADE,
        WOOD,        WOOD_SHADE,    WOOD_LIGHT, CLOTH,        CLOTH_SHADE, BOARD,
        BOARD_SHADE, STAR,          STAR_LIGHT, STAR_EDGE,
    };
    return colours;
}

int ArtColourIndex(Rgb colour) {
    static const std::unordered_map<uint32_t, int> index = [] {
        std::unordered_map<uint32_t, int> m;
        const auto& colours = ArtColours();
        for (size_t i = 0; i < colours.size(); ++i) {
            m.emplace(colours[i].Key(), int(i));
        }
        return m;
    }();
    auto it = index.find(colour.Key());
    return it == index.end() ? -1 : it->second;
}
