// A dialog template read and laid out at a DPI.
#include "framework/DialogLayout.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "framework/Handles.h"

namespace fw {

namespace {

// Reads a DIALOGEX template field by field; every read checks that the bytes are there.
class TemplateReader {
public:
    TemplateReader(const std::uint8_t* data, std::size_t size) : bytes(data), end(size) {}

    template <class Value>
    bool Read(Value& value)
    {
        if (end - at < sizeof value)
            return false;
        std::memcpy(&value, bytes + at, sizeof value);
        at += sizeof value;
        return true;
    }
    // A string, or a number in its place (0xFFFF and the number), or nothing (0).
    bool SkipNameOrNumber()
    {
        WORD first = 0;
        if (!Read(first))
            return false;
        if (first == 0xFFFF)
            return Read(first);
        return first == 0 || ReadString(nullptr);
    }
    // The rest of a string whose first unit was read already (`text` null), or a whole one.
    bool ReadString(std::wstring* text)
    {
        for (WORD unit = 0;;) {
            if (!Read(unit))
                return false;
            if (unit == 0)
                return true;
            if (text)
                text->push_back(static_cast<wchar_t>(unit));
        }
    }
    bool Skip(std::size_t count)
    {
        if (end - at < count)
            return false;
        at += count;
        return true;
    }
    void AlignToDword() { at = (at + 3) & ~std::size_t{3}; }

private:
    const std::uint8_t* bytes;
    std::size_t end;
    std::size_t at = 0;
};

struct DialogFont {
    WORD pointSize = 8;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charSet = DEFAULT_CHARSET;
    std::wstring face;
};

// The dialog units of `font` made at `dpi`: the average width of the letters of the alphabet
// and the font's height, as the dialog manager measures them.
SIZE BaseUnits(const DialogFont& font, int dpi)
{
    const CFont made(CreateFontW(-MulDiv(font.pointSize, dpi, 72), 0, 0, 0, font.weight, font.italic, FALSE, FALSE,
                                 font.charSet, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, font.face.c_str()));
    SIZE units{MulDiv(8, dpi, 96) / 2, MulDiv(16, dpi, 96)};
    const HDC dc = GetDC(nullptr);
    if (!dc || !made)
        return units;
    {
        const SelectGuard guard(dc, made.Get());
        TEXTMETRICW metrics{};
        SIZE alphabet{};
        static const wchar_t letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        if (GetTextMetricsW(dc, &metrics) && GetTextExtentPoint32W(dc, letters, 52, &alphabet))
            units = {(alphabet.cx / 26 + 1) / 2, metrics.tmHeight};
    }
    ReleaseDC(nullptr, dc);
    return units;
}

}  // namespace

bool LayOutTemplate(HINSTANCE instance, UINT templateId, int dpi, DialogLayout& layout)
{
    const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5));
    const HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const auto* data = loaded ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
    if (!data)
        return false;
    TemplateReader reader(data, SizeofResource(instance, found));
    WORD version = 0, signature = 0, count = 0;
    DWORD helpId = 0, extendedStyle = 0, style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    if (!reader.Read(version) || !reader.Read(signature) || version != 1 || signature != 0xFFFF ||
        !reader.Read(helpId) || !reader.Read(extendedStyle) || !reader.Read(style) || !reader.Read(count) ||
        !reader.Read(x) || !reader.Read(y) || !reader.Read(cx) || !reader.Read(cy) || !reader.SkipNameOrNumber() ||
        !reader.SkipNameOrNumber() || !reader.ReadString(nullptr))
        return false;
    DialogFont font;
    if ((style & DS_SETFONT) &&
        (!reader.Read(font.pointSize) || !reader.Read(font.weight) || !reader.Read(font.italic) ||
         !reader.Read(font.charSet) || !reader.ReadString(&font.face)))
        return false;
    const SIZE units = BaseUnits(font, dpi);
    layout.size = {MulDiv(cx, units.cx, 4), MulDiv(cy, units.cy, 8)};
    layout.controls.clear();
    for (WORD item = 0; item < count; ++item) {
        reader.AlignToDword();
        DWORD itemHelpId = 0, itemExtendedStyle = 0, itemStyle = 0, id = 0;
        short left = 0, top = 0, width = 0, height = 0;
        WORD extra = 0;
        if (!reader.Read(itemHelpId) || !reader.Read(itemExtendedStyle) || !reader.Read(itemStyle) ||
            !reader.Read(left) || !reader.Read(top) || !reader.Read(width) || !reader.Read(height) ||
            !reader.Read(id) || !reader.SkipNameOrNumber() || !reader.SkipNameOrNumber() || !reader.Read(extra) ||
            !reader.Skip(extra))
            return false;
        const int pixelLeft = MulDiv(left, units.cx, 4), pixelTop = MulDiv(top, units.cy, 8);
        layout.controls.push_back({static_cast<int>(id),
                                   {pixelLeft, pixelTop, pixelLeft + MulDiv(width, units.cx, 4),
                                    pixelTop + MulDiv(height, units.cy, 8)}});
    }
    return true;
}

}  // namespace fw
