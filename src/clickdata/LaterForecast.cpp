// SPDX-License-Identifier: LGPL-3.0-or-later
// Two of the later lines: a variable star's magnitude now from its light-curve elements,
// and the measured length in fields of the active camera.
#include <cmath>

#include "clickdata/LineParts.h"
#include "clickdata/ZntClickData.h"

namespace clickdata {

double AngleOfView(double side, double focalLength) {
    // 2 atan(side / 2f); 114.59... is 360 / pi.
    return std::atan2(side, 2.0 * focalLength) * 114.59155902616465;
}

}  // namespace clickdata

namespace {

constexpr double kPi = 3.141592653589793;

// Without a catalogued value: a pulsating star rises in half its period, an eclipse lasts a
// tenth of it.
constexpr double kDefaultRise = 0.5;
constexpr double kDefaultEclipse = 0.1;

struct Forecast {
    double magnitude;
    double toMaximum;  // days; NaN for an eclipsing star, whose light has no single maximum
    double toMinimum;
};

// The magnitude at jd from the elements: for a pulsating star the epoch is a maximum and
// the light falls and rises along half cosines, rising in the fraction `part` of the
// period; for an eclipsing star the epoch is a primary minimum, the eclipse lasts the
// fraction `part`, and the star keeps its maximum outside it.
Forecast Predict(double jd, double epoch, double period, double maximum, double minimum,
                 double part, bool eclipsing) {
    const double cycles = (jd - epoch) / period;
    const double phase = cycles - std::floor(cycles);
    const double range = minimum - maximum;
    Forecast f{maximum, NAN, NAN};
    if (eclipsing) {
        const double x = phase > 0.5 ? phase - 1.0 : phase;  // from the minimum, in periods
        if (std::fabs(x) < part / 2.0)
            f.magnitude = maximum + range * (1.0 + std::cos(2.0 * kPi * x / part)) / 2.0;
        f.toMinimum = (epoch + std::ceil(cycles) * period) - jd;
        return f;
    }
    const double fall = 1.0 - part;
    const double s =
        phase < fall ? phase / fall : (1.0 - phase) / part;  // 0 at maximum, 1 at minimum
    f.magnitude = maximum + range * (1.0 - std::cos(kPi * s)) / 2.0;
    f.toMaximum = (epoch + std::ceil(cycles) * period) - jd;
    f.toMinimum = (epoch + (std::ceil(cycles - fall) + fall) * period) - jd;
    return f;
}

}  // namespace

CString CZntClickData::GetVariableForecast(CCorZnt* pHost) {
    double period = 0.0, epoch = 0.0, maximum = 0.0, minimum = 0.0, now = 0.0;
    const auto number = [&](const wchar_t* suffix, double* v) {
        return clickdata::AnswerNumber(QueryObject(pHost, suffix), v);
    };
    // A catalogue that gives no period, a zero one, or a magnitude only as an amplitude or a
    // limit has nothing to predict from.
    if (!number(L".Period", &period) || !(period > 0.0) || !number(L".Epoch", &epoch) ||
        !number(L".Magnitude.Maximum", &maximum) || !number(L".Magnitude.Minimum", &minimum) ||
        !clickdata::AnswerNumber(QueryHost(pHost, L"time.jd"), &now))
        return CString();
    if (!(std::fabs((now - epoch) / period) < 1e9)) return CString();
    const bool eclipsing = QueryObject(pHost, L".VariableType").Left(1).CompareNoCase(L"E") == 0;
    double part = eclipsing ? kDefaultEclipse : kDefaultRise;
    double percent = 0.0;
    if (number(L".M_mD", &percent) && percent > 0.0 && percent < 100.0) part = percent / 100.0;
    const Forecast f = Predict(now, epoch, period, maximum, minimum, part, eclipsing);
    CString line;
    line.Format(L"予報光度 %.2f等 (", f.magnitude);
    if (std::isfinite(f.toMaximum)) line.AppendFormat(L"極大まで %.3f日 ", f.toMaximum);
    line.AppendFormat(L"極小まで %.3f日)\r\n", f.toMinimum);
    return line;
}

CString CZntClickData::GetFieldRatio(CCorZnt* pHost) {
    if (QueryHost(pHost, L"Measure.Visible").CompareNoCase(L"TRUE") != 0) return CString();
    if (QueryHost(pHost, L"Measure.Connecting").CompareNoCase(L"TRUE") != 0) return CString();
    double v[7] = {};
    const wchar_t* const kQueries[7] = {L"Measure.Origin.position.EquatorialDateApp.RA",
                                        L"Measure.Origin.position.EquatorialDateApp.DEC",
                                        L"Measure.End.position.EquatorialDateApp.RA",
                                        L"Measure.End.position.EquatorialDateApp.DEC",
                                        L"AngleOfView.FocalLength",
                                        L"AngleOfView.HorizontalSize",
                                        L"AngleOfView.VerticalSize"};
    for (int i = 0; i < 7; ++i)
        if (!clickdata::AnswerNumber(QueryHost(pHost, kQueries[i]), &v[i])) return CString();
    if (!(v[4] > 0.0 && v[5] > 0.0 && v[6] > 0.0)) return CString();
    const double from[2] = {v[0] * 15.0, v[1]};
    const double to[2] = {v[2] * 15.0, v[3]};
    double pa = 0.0, distance = 0.0;
    AdToPaDist(from, to, &pa, &distance);
    const double across = distance / clickdata::AngleOfView(v[5], v[4]);
    const double down = distance / clickdata::AngleOfView(v[6], v[4]);
    if (!std::isfinite(across) || !std::isfinite(down)) return CString();
    CString line;
    line.Format(L"視野比 横の%.2f倍 縦の%.2f倍\r\n", across, down);
    return line;
}
