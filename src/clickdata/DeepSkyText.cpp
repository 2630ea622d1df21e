// SPDX-License-Identifier: LGPL-3.0-or-later
// Deep-sky objects (a general layout and one for galaxies of the PGC catalogue), the
// Magellanic Clouds, and deep-sky photographs placed on the chart.
#include <algorithm>

#include "clickdata/ZntClickData.h"

namespace {

// The length of "deepskyobject.Pgc": a PGC galaxy's number follows it in the path.
constexpr int kPgcPrefixLength = 17;

// Runs of two blanks become one, until none is left.
CString SingleBlanks(CString text) {
    while (text.Replace(L"  ", L" ") > 0) {
    }
    return text;
}

// Pieces of one line, joined by one blank.
void AddPiece(CString& line, const CString& piece) {
    if (!line.IsEmpty()) line += L" ";
    line += piece;
}

CString Formatted(const wchar_t* format, double value) {
    CString text;
    text.Format(format, value);
    return text;
}

}  // namespace

CString CZntClickData::GetTextDeepSky(CCorZnt* pHost, int bCompact) {
    const CCdStatus& status = Status();
    CString text;
    if (m_Object.SameP(0, L"deepskyobject") &&
        m_Object.GetParamP(1).Left(3).CompareNoCase(L"PGC") == 0) {
        const CString number = m_Object.Mid(kPgcPrefixLength);
        const CString velocity = QueryObject(pHost, L".Vhelio");
        CString alias = QueryObject(pHost, L".AliasName");
        alias.TrimRight();
        CString hubbleType = QueryObject(pHost, L".Type");
        hubbleType.TrimRight();
        const CString angle = QueryObject(pHost, L".PA");
        const CString major = QueryObject(pHost, L".LogD25");
        const CString minor = QueryObject(pHost, L".LogR25");
        const CString magnitude = QueryObject(pHost, L".BT");

        text = L"PGC" + number;
        if (!alias.IsEmpty()) text += L" (" + alias + L")";
        if (bCompact) return text;
        text += L"\r\n";
        if (status.DispMag) {
            CString line;
            if (IsPresent(magnitude)) AddPiece(line, Formatted(L"光度 %.2f等", _wtof(magnitude)));
            if (IsPresent(major)) AddPiece(line, Formatted(L"長径 %.2f'", _wtof(major)));
            if (IsPresent(minor)) AddPiece(line, Formatted(L"短径 %.2f'", _wtof(minor)));
            AppendAnswerLine(text, L"", line);
        }
        text += GetPosString(pHost, 2);
        if (status.PgcDetails) {
            if (angle != L"*") text.AppendFormat(L"長径の位置角 %d度\r\n", _wtoi(angle));
            if (IsPresent(hubbleType)) text += L"ハッブル分類 " + hubbleType + L"\r\n";
            if (velocity != L"*") text += L"日心視線速度 " + velocity + L"(km/s)\r\n";
        }
        return text;
    }

    // The catalogue designation, and the other designations in parentheses after it.
    CString designation = SingleBlanks(QueryObject(pHost, L".CatalogNumber"));
    CString others = SingleBlanks(QueryObject(pHost, L".SubCatalogNumber.Strings"));
    others.Replace(designation, L"");
    others.Replace(L", ,", L",");
    others.Trim(L", ");
    if (!others.IsEmpty()) designation += L" (" + others + L")";
    const CString typeName = QueryObject(pHost, L".Type.Name");
    const CString name = QueryObject(pHost, L".Name");
    const CString japanese = QueryObject(pHost, L".JapaneseName");

    // "アンドロメダ銀河 Andromeda Galaxy M 31 (NGC 224, ...) 銀河": the Japanese name first
    // where the host knows one, as the planets' "火星 Mars".
    text = designation + L" " + typeName;
    if (!name.IsEmpty()) text = name + L" " + text;
    if (IsPresent(japanese) && japanese != name) text = japanese + L" " + text;
    if (bCompact) return text;
    text += L"\r\n";
    if (status.DispMag) {
        const CString magnitude = QueryObject(pHost, L".Magnitude");
        const CString size = QueryObject(pHost, L".Size");
        CString line;
        if (magnitude != L"*") AddPiece(line, Formatted(L"光度 %4.1f等", _wtof(magnitude)));
        if (size != L"*") AddPiece(line, L"視直径 " + size);
        AppendAnswerLine(text, L"", line);
    }
    return text + GetPosString(pHost, 2);
}

CString CZntClickData::GetTextMagellan(CCorZnt* pHost, int bCompact) {
    const CString name = QueryObject(pHost, L".Name");
    if (bCompact) return name;
    return name + L"\r\n" + GetPosString(pHost, 2) + L"\r\n";
}

CString CZntClickData::GetTextDeepSkyImage(CCorZnt* pHost, int bCompact) {
    // The file name without its folder (either separator) and without the "_view.bmp" that
    // the planetarium adds to the pictures it makes.
    const CString file = QueryObject(pHost, L".File");
    const int slash = std::max(file.ReverseFind(L'\\'), file.ReverseFind(L'/'));
    CString name = file.Mid(slash + 1);
    const CString suffix = L"_view.bmp";
    const int at = name.Find(suffix);
    if (at > 0 && at + suffix.GetLength() == name.GetLength()) name = name.Left(at);

    CString text = L"画像 " + name;
    if (bCompact) return text;
    text += L"\r\n";
    const double height = _wtof(QueryObject(pHost, L".Angle.Y"));
    const double width = _wtof(QueryObject(pHost, L".Angle.X"));
    text.AppendFormat(L"画角 %.3fﾟ × %.3fﾟ\r\n", width, height);
    text.AppendFormat(L"回転角 %.3fﾟ\r\n", _wtof(QueryObject(pHost, L".Roll")));
    return text + GetPosString(pHost, 2);
}
