// The references of what is built into the program: pictures, texts, waves.
#include "reference_sets.h"

#include "assets.h"
#include "img.h"
#include "sha256.h"
#include "waves.h"

#include <cstring>
#include <span>

namespace {

Reference picture_reference(const std::string& name, const uint8_t* pnm)
{
    Image* image = img_from_pnm(pnm);
    if (!image) {
        return {"picture " + name, "none"};
    }
    const auto size = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
    Sha256 hash = sha256_begin();
    sha256_add_le(hash, std::span<const uint32_t>(image->pixels, size));
    Reference reference{"picture " + name + " " + std::to_string(image->width) + "x" + std::to_string(image->height),
                        sha256_hex(hash)};
    img_free(&image);
    return reference;
}

Reference text_reference(const std::string& name, const char* text)
{
    return {"text " + name, sha256_of({reinterpret_cast<const uint8_t*>(text), strlen(text)})};
}

}  // namespace

References reference_assets()
{
    return {
        picture_reference("font", pnm_font),
        picture_reference("sprites", pnm_sprites),
        picture_reference("blocks", pnm_blocks),
        picture_reference("bubbles", pnm_bubbles),
        picture_reference("logo", pnm_logo),
        picture_reference("frame", pnm_frame),
        picture_reference("mask", pnm_mask),
        text_reference("big scroll", big_scroll_text),
        text_reference("grid", grid_text),
        text_reference("hearts scroll", hearts_scroll_text),
    };
}

References reference_waves()
{
    References references;
    for (int32_t k = 0; k < wave_count; ++k) {
        const Sample& wave = wave_table[k];
        Sha256 hash = sha256_begin();
        sha256_add_le(hash, std::span<const int32_t>(wave.data, static_cast<size_t>(wave.count)));
        references.push_back({"wave " + std::to_string(k), sha256_hex(hash)});
    }
    return references;
}
