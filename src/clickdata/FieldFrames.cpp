// SPDX-License-Identifier: LGPL-3.0-or-later
// Framing aids of the sky chart: a camera's field behind a lens (angle of view), a mosaic
// of such fields, and a plain field-of-view circle.
#include <cmath>

#include "clickdata/LineParts.h"
#include "clickdata/ZntClickData.h"
#include "res/LibraryResources.h"

namespace {

using clickdata::AngleOfView;

// A fraction as a whole percentage, truncated.
int Percent(double fraction) {
    const double p = fraction * 100.0;
    if (!(std::fabs(p) < 2e9)) return 0;
    return static_cast<int>(p);
}

// The line of the focal length and sensor size (mm).
CString AreaLine(double focal, double width, double height) {
    CString line;
    line.Format(IDS_FIELD_FRAME_AREA, focal, width, height);
    return line + L"\r\n";
}

}  // namespace

CString CZntClickData::GetTextAngleOfField(CCorZnt* pHost, int bCompact) {
    const double focal = QueryObject(pHost, L".FocalLength").atof(0.0);
    const double width = QueryObject(pHost, L".HorizontalSize").atof(0.0);
    const double height = QueryObject(pHost, L".VerticalSize").atof(0.0);
    const CString name = QueryObject(pHost, L".Name");
    CString camera = QueryObject(pHost, L".Camera");
    if (camera.CompareNoCase(L"None") == 0) camera = L"カスタム";
    CString text = name + L" " + camera + L" ";
    text.AppendFormat(L"(%.2fﾟ×%.2fﾟ)", AngleOfView(width, focal), AngleOfView(height, focal));
    if (bCompact) return text;
    text += L"\r\n" + GetPosString(pHost, 2) + AreaLine(focal, width, height);
    const double guideWidth = QueryObject(pHost, L".Guider.HorizontalSize").atof(0.0);
    if (guideWidth > 0.0) {
        const double guideHeight = QueryObject(pHost, L".Guider.VerticalSize").atof(0.0);
        const double distance = QueryObject(pHost, L".Guider.Distance").atof(0.0);
        CString line;
        line.Format(IDS_FIELD_FRAME_GUIDER, guideWidth, guideHeight, distance);
        text += line + L"\r\n";
    }
    text.AppendFormat(L"回転角 %.1f 度\r\n", degmal(QueryObject(pHost, L".Roll").atof(0.0)));
    return text;
}

CString CZntClickData::GetTextMosaicOfField(CCorZnt* pHost, int bCompact) {
    // "base.frame": the mosaic's properties belong to the base path; the frame number is
    // only shown.
    const int dot = m_Object.Find(L'.');
    const CString base = dot < 0 ? CString(m_Object) : m_Object.Left(dot);
    const CString frame = dot < 0 ? CString() : m_Object.Mid(dot + 1);
    const auto ask = [&](const wchar_t* suffix) { return QueryHost(pHost, base + suffix); };

    CString text = ask(L".Name");
    const CString camera = ask(L".Camera");
    if (camera.CompareNoCase(L"None") != 0) text += L" " + camera;
    const double focal = ask(L".FocalLength").atof(0.0);
    const double width = ask(L".HorizontalSize").atof(0.0);
    const double height = ask(L".VerticalSize").atof(0.0);
    const int rows = ask(L".Row").atoi(0);
    const int columns = ask(L".Column").atoi(0);
    text.AppendFormat(L"  (%.2fﾟ×%.2fﾟ×%d×%dフレーム, No.%s)", AngleOfView(width, focal),
                      AngleOfView(height, focal), rows, columns, frame);
    if (bCompact) return text;
    text += L"\r\n" + GetPosString(pHost, 2) + AreaLine(focal, width, height);
    CString coordinate = ask(L".Coordinate");
    const wchar_t* system = L"スクリーン";
    if (coordinate.MakeLower().Left(10) == L"equatorial")
        system = L"赤道座標";
    else if (coordinate.CompareNoCase(L"Horizon") == 0)
        system = L"地平座標";
    text.AppendFormat(L"重なり %d %%, %s\r\n", Percent(ask(L".Overlap").atof(0.0)), system);
    text.AppendFormat(L"回転角 %.1f 度\r\n", degmal(ask(L".Roll").atof(0.0)));
    return text;
}

CString CZntClickData::GetTextFiledOfView(CCorZnt* pHost, int bCompact) {
    const CString name = QueryObject(pHost, L".Name");
    const double angle = QueryObject(pHost, L".Angle").atof(0.0);
    CString text;
    text.Format(L"%s (%.2fﾟ)", name, angle);
    if (bCompact) return text;
    return text + L"\r\n" + GetPosString(pHost, 2);
}
