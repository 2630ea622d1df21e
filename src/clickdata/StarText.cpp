// SPDX-License-Identifier: LGPL-3.0-or-later
// The star text: a title by star kind, the magnitude, the position block and the detail
// lines; the object types of GSC objects; the list of cross identifications.
#include <cmath>
#include <cstdlib>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "clickdata/ZntClickData.h"
#include "platform/DebugOutput.h"
#include "sky/Constants.h"

namespace {

enum StarKind { kOrdinary = 0, kExtended = 1, kSupernova = 2, kNova = 3, kWithPlanets = 4 };

const struct {
    const wchar_t* word;
    const wchar_t* text;
} kGscTypes[] = {
    {L"Star", L"恒星"},         {L"Galaxy", L"銀河"},
    {L"Blend", L"ブレンド"},    {L"Nonstar", L"非恒星状天体"},
    {L"Artifact", L"人工天体"},
};

constexpr double kPi = 3.141592653589793;

// Folds every run of white space into one blank with the one shared expression. The text
// goes through in slices because the matcher recurses once per character of a run, and an
// answer may hold runs long enough to exhaust the stack. A run cut by a slice boundary
// gives a blank on each side of it; the second is dropped.
CString FoldBlanks(const std::wstring& text) {
    static const std::wregex kBlanks(L"\\s+");
    constexpr size_t kSlice = 256;
    std::wstring out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size(); pos += kSlice) {
        std::wstring folded = std::regex_replace(text.substr(pos, kSlice), kBlanks, L" ");
        if (!out.empty() && out.back() == L' ' && !folded.empty() && folded.front() == L' ')
            folded.erase(0, 1);
        out += folded;
    }
    return CString(std::move(out));
}

// The packed USNO-A2.0 word: sign = ACT flag, then decimal fields M FFF BBB RRR with the
// magnitudes in tenths. Widened first, so the most negative word has a magnitude too.
CString UsnoA2Attributes(int word) {
    const int act = word < 0 ? 1 : 0;
    const long long u = std::llabs(static_cast<long long>(word));
    const int mflag = static_cast<int>(u / 1000000000);
    const int field = static_cast<int>((u % 1000000000) / 1000000);
    const double bmag = static_cast<double>((u % 1000000) / 1000) / 10.0;
    const double rmag = static_cast<double>(u % 1000) / 10.0;
    CString text;
    text.Format(L"Bmag=%.1f Rmag=%.1f\r\nACTflag=%d Mflag=%d Field=%d\r\n", bmag, rmag, act, mflag,
                field);
    return text;
}

}  // namespace

CString CZntClickData::GetTextStar(CCorZnt* pHost, int bCompact) {
    OutputDebugStringW(m_Object + L"\r\n");
    const CStkStr catalogue = m_Object.GetParamP(1);
    int kind = kOrdinary;
    if (catalogue.Left(3).CompareNoCase(L"XNO") == 0)
        kind = kExtended;
    else if (catalogue.CompareNoCase(L"Supernova") == 0)
        kind = kSupernova;
    else if (catalogue.CompareNoCase(L"Nova") == 0)
        kind = kNova;
    const CStkStr planets = QueryObject(pHost, L".numberofPlanets");
    if (planets.atoi(0) > 0) kind = kWithPlanets;

    CString text = kind == kWithPlanets ? L"惑星のある恒星 " : L"恒星 ";
    CString id;  // the identifier of an extended-catalogue star ("TYC ...", "USNO-A2.0 ...")
    if (kind == kExtended) {
        id = QueryObject(pHost, L".Id");
        text += id;
        if (bCompact) return text;
        text += L"\r\n";
    } else if (kind == kSupernova || kind == kNova) {
        text = (kind == kSupernova ? L"超新星 " : L"新星 ") +
               NameLine(pHost, m_Object, L".JapaneseName", L".EnglishName");
        if (bCompact) return text;
        const CString summary = QueryObject(pHost, L".Summary");
        if (!summary.IsEmpty()) text += L"\r\n" + summary;
        text += L"\r\n";
    } else {
        const CString flamsteed = QueryObject(pHost, L".FlamsteedNumber");
        const CString bayer = QueryObject(pHost, L".BayerLetter");
        const CString abbreviation = QueryObject(pHost, L".Constellation.Abbreviation");
        CString japanese = QueryObject(pHost, L".JapaneseName");
        CString english = QueryObject(pHost, L".EnglishName");
        const CString japaneseSub = QueryObject(pHost, L".JapaneseSubName");
        const CString englishSub = QueryObject(pHost, L".EnglishSubName");
        if (!japaneseSub.IsEmpty()) japanese += L"(" + japaneseSub + L")";
        if (!englishSub.IsEmpty()) english += L"(" + englishSub + L")";
        const bool named =
            !bayer.IsEmpty() || !flamsteed.IsEmpty() || !japanese.IsEmpty() || !english.IsEmpty();
        if (named) {
            text += flamsteed + bayer + abbreviation;
            const CString constellation = QueryObject(pHost, L".Constellation.Name");
            if (!constellation.IsEmpty()) text += L" (" + constellation + L") ";
            text += japanese + L" " + english;
            if (bCompact) return text;
            text += L"\r\n";
        } else {
            text += L"(" + QueryObject(pHost, L".Position.Constellation") + L")";
            if (bCompact) {
                const CString hip = QueryObject(pHost, L".HipparcosNumber");
                if (IsPresent(hip)) text += L" HIP" + hip;
                return text;
            }
            text += japanese + L" " + english + L"\r\n";
        }
        text += GetHipLine(pHost);
    }

    const CCdStatus& status = Status();
    if (status.DispMag) text += GetMagnitudeLine(pHost);
    if (kind == kWithPlanets) text += L"惑星数 " + planets + L"\r\n";
    text += GetPosString(pHost, kind == kExtended && id.Left(4) == L"USNO" ? 4 : 3);
    if (!status.StarDetails) return text;

    const bool catalogueStar = kind == kOrdinary || kind == kWithPlanets;
    if (catalogueStar) {
        text += GetProperMotionLines(pHost, 1.0);
        const double p = QueryObject(pHost, L".pi").atof(0.0);  // mas
        if (p > 0.0 && std::isfinite(p)) {
            const double a = p / 3600000.0 * kPi / 180.0;
            const double lightYears = (sky::kKmPerAu / std::tan(a)) / sky::kKmPerLightYear;
            text.AppendFormat(L"年周視差 %.2f (mas)\r\n", p);
            text += L"距離 " + GetDistanceString(lightYears) + L" (光年)\r\n";
        }
    }
    if (kind == kOrdinary || (kind == kExtended && id.Left(3) == L"TYC")) {
        const CString bt = QueryObject(pHost, L".Magnitude.BT");
        const CString vt = QueryObject(pHost, L".Magnitude.VT");
        const CString bv = QueryObject(pHost, L".Magnitude.BV");
        CString line;
        if (IsPresent(bt)) line.AppendFormat(L"BT=%.3f ", _wtof(bt));
        if (IsPresent(vt)) line.AppendFormat(L"VT=%.3f ", _wtof(vt));
        if (IsPresent(bv)) line.AppendFormat(L"B-V=%.3f", _wtof(bv));
        line.TrimRight(L' ');
        AppendAnswerLine(text, L"", line);
    }
    if (kind == kWithPlanets) {
        const CString vt = QueryObject(pHost, L".Magnitude.VT");
        if (IsPresent(vt)) text += L"M_V=" + TrimDecimals(vt, 1) + L"\r\n";
    }
    if (kind == kExtended) {
        if (id.Find(L"USNO-A2.0") >= 0) {
            const CStkStr word = QueryObject(pHost, L".USNOA20Attr");
            if (word != L"*") text += UsnoA2Attributes(word.atoi(0));
        }
        if (id.Left(3) == L"GSC") text += L"天体種別 " + GetGscTypeString(pHost) + L"\r\n";
    }
    if (catalogueStar)
        AppendAnswerLine(text, L"スペクトル型 ", QueryObject(pHost, L".SpectralType"));

    AppendAnswerLine(text, L"GCVS識別名 ", QueryObject(pHost, L".VariableName"));
    const CString crossId = QueryObject(pHost, L".CrossID");
    if (!crossId.IsEmpty())
        text += L"\r\nカタログインデックス\r\n" + GetCrossIdList(crossId) + L"\r\n";
    return text;
}

CString CZntClickData::GetGscTypeString(CCorZnt* pHost) {
    const CString answer = QueryObject(pHost, L".Type");
    CString out;
    int start = 0;
    for (;;) {
        const int comma = answer.Find(L',', start);
        const CString word = comma < 0 ? answer.Mid(start) : answer.Mid(start, comma - start);
        const CString text = TranslateGscType(word);
        if (!text.IsEmpty()) {
            if (!out.IsEmpty()) out += L",";
            out += text;
        }
        if (comma < 0) break;
        start = comma + 1;
    }
    return out;
}

CString CZntClickData::TranslateGscType(const CString& word) {
    for (const auto& t : kGscTypes)
        if (word.CompareNoCase(t.word) == 0) return t.text;
    return CString();
}

CString CZntClickData::GetCrossIdList(const CString& answer) {
    // Ordinal order of the keys; each key's values in the order they came.
    std::map<std::wstring, std::vector<CString>> groups;
    int width = 0;
    int start = 0;
    const int length = answer.GetLength();
    while (start <= length) {
        int bar = answer.Find(L'|', start);
        if (bar < 0) bar = length;
        const CString piece = answer.Mid(start, bar - start);
        start = bar + 1;
        const int blank = piece.Find(L' ');
        if (blank < 0) continue;
        const CString key = piece.Left(blank);
        CString value = piece.Mid(blank + 1);
        value.Trim();
        if (key.GetLength() + 1 > width) width = key.GetLength() + 1;
        groups[key.str()].push_back(value);
    }
    CString out;
    for (const auto& group : groups) {
        const CString key =
            CString(group.first) + CString(L' ', width - static_cast<int>(group.first.size()));
        for (const CString& value : group.second) out += key + FoldBlanks(value.str()) + L"\r\n";
    }
    return out;
}
