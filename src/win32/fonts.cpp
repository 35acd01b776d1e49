#include "win32/fonts.h"

#include <array>
#include <string>

#include "app/layout.h"
#include "app/texts.h"
#include "util/dpi_scale.h"
#include "win32/dpi.h"
#include "win32/text.h"

namespace {

BOOL CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) noexcept {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

bool FaceInstalled(const std::wstring& face) {
    LOGFONTW query{};
    query.lfCharSet = SHIFTJIS_CHARSET;
    face.copy(query.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    const WindowDC screen(nullptr);
    EnumFontFamiliesExW(screen.Get(), &query, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// "ＭＳ ゴシック", or where it is missing a Japanese Gothic of the same
// pixel size (Wine ships none of its own; the IPA fonts stand in).
std::wstring GothicFace() {
    const std::array<std::wstring, 4> faces{ToWide(texts::kFontName), L"MS Gothic", L"IPAゴシック",
                                            L"IPAGothic"};
    for (const auto& face : faces) {
        if (FaceInstalled(face)) return face;
    }
    return faces[0];
}

HFONT GothicFont(const std::wstring& face, int pixels, int width = 0) {
    return CreateFontW(-pixels, width, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       FIXED_PITCH | FF_MODERN, face.c_str());
}

int FullWidthAdvance(HFONT font) {
    const WindowDC screen(nullptr);
    const SelectedObject selected(screen.Get(), font);
    SIZE size{};
    GetTextExtentPoint32W(screen.Get(), L"\u3042", 1, &size);
    return static_cast<int>(size.cx);
}

// The layout's sizes are those of a Gothic whose full-width characters are
// as wide as they are high. A stand-in that renders them wider (the IPA
// Gothic under Wine rounds 13 pixels up to 14) is narrowed to half-width
// characters of half the height, so that every text fits its control.
UniqueFont SquareGothicFont(const std::wstring& face, int pixels) {
    UniqueFont font(GothicFont(face, pixels));
    if (font && FullWidthAdvance(font.get()) > pixels) {
        if (HFONT narrowed = GothicFont(face, pixels, pixels / 2)) font.reset(narrowed);
    }
    return font;
}

}  // namespace

WindowFonts CreateWindowFonts(Dpi dpi) {
    WindowFonts fonts;
    const std::wstring face = GothicFace();
    // Rounded down: each label is as wide as its text at 96 dpi, and a font
    // rounded up would outgrow it (13 pixels at 144 dpi would be 20, and the
    // JWW label's text 230 pixels wide in its 227).
    fonts.window = SquareGothicFont(face, dpi.ScaleDown(layout::kFontHeight));
    fonts.banner = SquareGothicFont(face, dpi.ScaleDown(layout::kBannerFontHeight));
    NONCLIENTMETRICSW metrics{};
    if (NonClientMetrics(metrics, dpi)) {
        fonts.status.reset(CreateFontIndirectW(&metrics.lfStatusFont));
    }
    return fonts;
}
