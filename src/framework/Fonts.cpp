// Fonts made from a face or from a font setting, and their records.
#include "framework/Fonts.h"

#include "framework/Text.h"

fw::CFont CreatePlainFont(const wchar_t* face, LONG height)
{
    return fw::CFont(CreateFontW(height, 0, 0, 0, 0, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, face));
}

core::LogicalFont PlainLogicalFont(const wchar_t* face, LONG height)
{
    LOGFONTW record{};
    const fw::CFont font = CreatePlainFont(face, height);
    if (!font.Get() || GetObjectW(font.Get(), sizeof record, &record) != sizeof record) {
        record = LOGFONTW{};
        record.lfHeight = height;
        lstrcpynW(record.lfFaceName, face, LF_FACESIZE);
    }
    return FromLogFont(record);
}

core::LogicalFont FromLogFont(const LOGFONTW& font)
{
    core::LogicalFont result;
    result.height = font.lfHeight;
    result.width = font.lfWidth;
    result.escapement = font.lfEscapement;
    result.orientation = font.lfOrientation;
    result.weight = font.lfWeight;
    result.italic = font.lfItalic;
    result.underline = font.lfUnderline;
    result.strikeOut = font.lfStrikeOut;
    result.charSet = font.lfCharSet;
    result.outPrecision = font.lfOutPrecision;
    result.clipPrecision = font.lfClipPrecision;
    result.quality = font.lfQuality;
    result.pitchAndFamily = font.lfPitchAndFamily;
    result.faceName = fw::Narrow(std::wstring_view(font.lfFaceName, wcsnlen(font.lfFaceName, LF_FACESIZE)));
    return result;
}

LOGFONTW ToLogFont(const core::LogicalFont& font)
{
    LOGFONTW record{};
    record.lfHeight = font.height;
    record.lfWidth = font.width;
    record.lfEscapement = font.escapement;
    record.lfOrientation = font.orientation;
    record.lfWeight = font.weight;
    record.lfItalic = font.italic;
    record.lfUnderline = font.underline;
    record.lfStrikeOut = font.strikeOut;
    record.lfCharSet = font.charSet;
    record.lfOutPrecision = font.outPrecision;
    record.lfClipPrecision = font.clipPrecision;
    record.lfQuality = font.quality;
    record.lfPitchAndFamily = font.pitchAndFamily;
    lstrcpynW(record.lfFaceName, fw::Widen(font.faceName).c_str(), LF_FACESIZE);
    return record;
}

fw::CFont CreateFontFrom(const core::LogicalFont& font)
{
    const LOGFONTW record = ToLogFont(font);
    return fw::CFont(CreateFontIndirectW(&record));
}
