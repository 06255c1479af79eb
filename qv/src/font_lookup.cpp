#include "font_lookup.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace qv {
namespace {

constexpr const char* kTextLanguage = "zh-tw";

struct ConfigDeleter {
    void operator()(FcConfig* c) const { FcConfigDestroy(c); }
};

// The font configuration, loaded on first use. It is released at exit: that
// also releases what fontconfig keeps for it behind the scenes.
FcConfig* fontConfig() {
    static const std::unique_ptr<FcConfig, ConfigDeleter> config(FcInitLoadConfigAndFonts());
    return config.get();
}

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

std::optional<FaceFile> match(Pattern pattern, int weight) {
    FcConfig* config = fontConfig();
    if (!pattern || config == nullptr)
        return std::nullopt;
    FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>(kTextLanguage));
    FcPatternAddDouble(pattern.get(), FC_WEIGHT, FcWeightFromOpenTypeDouble(weight));
    if (FcConfigSubstitute(config, pattern.get(), FcMatchPattern) == FcFalse)
        return std::nullopt;
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern found(FcFontMatch(config, pattern.get(), &result));
    if (!found)
        return std::nullopt;
    FcChar8* file = nullptr;
    if (FcPatternGetString(found.get(), FC_FILE, 0, &file) != FcResultMatch || file == nullptr)
        return std::nullopt;
    FaceFile face;
    face.path = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(found.get(), FC_INDEX, 0, &face.index);
    FcBool embolden = FcFalse;
    FcPatternGetBool(found.get(), FC_EMBOLDEN, 0, &embolden);
    face.embolden = embolden == FcTrue;
    return face;
}

} // namespace

FT_Library freeTypeLibrary() {
    // Never released: fonts still held at exit release their faces into it.
    static const FT_Library library = [] {
        FT_Library l = nullptr;
        return FT_Init_FreeType(&l) == 0 ? l : nullptr;
    }();
    return library;
}

std::optional<FaceFile> findFace(std::string_view family, int weight) {
    Pattern pattern(FcPatternCreate());
    if (pattern && !family.empty()) {
        std::string name(family);
        FcPatternAddString(pattern.get(), FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(name.c_str()));
    }
    return match(std::move(pattern), weight);
}

std::optional<FaceFile> findChineseFace(int weight) {
    return match(Pattern(FcPatternCreate()), weight);
}

} // namespace qv
