// SPDX-License-Identifier: LGPL-3.0-or-later
// The position block where the golden texts (tests/golden/click_texts.txt) cannot reach:
// a corrected altitude found by the refraction formula, and answers that are no numbers or
// absurdly long.
#include <gtest/gtest.h>

#include <cmath>

#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

const wchar_t* const kStar = L"Star.HIP.27989";
class PositionBlock : public ClickDataTest {
protected:
    void SetUp() override {
        status.Init();
        host.Answer(L"? View.Projection", L"Sky");
        AnswerObject(host, kStar,
                     {{L".position.RA", L"5.5"},
                      {L".position.DEC", L"-12.5"},
                      {L".position.EquatorialDateApp.RA", L"5.75"},
                      {L".position.EquatorialDateApp.DEC", L"7.25"},
                      {L".position.EquatorialB1950.RA", L"5.25"},
                      {L".position.EquatorialB1950.DEC", L"-0.5"},
                      {L".position.Ecliptical.Lambda", L"83.5"},
                      {L".position.Ecliptical.Beta", L"-1.25"},
                      {L".position.EclipticDateApp.Lambda", L"84"},
                      {L".position.EclipticDateApp.Beta", L"*"},
                      {L".position.EclipticJ2000.Lambda", L"82.75"},
                      {L".position.EclipticJ2000.Beta", L"-1"},
                      {L".position.Galactical.Longitude", L"200.125"},
                      {L".position.Galactical.Latitude", L"-20.5"},
                      {L".position.Altitude", L"90"},
                      {L".position.Azimuth", L"270"},
                      {L".Jd.Rise", L"2461015.25"},
                      {L".Jd.Transit", L"2461015.5"},
                      {L".Jd.Set", L"2461015.75"}});
        host.Answer(L"? time.jd", L"2461015.5");
        host.Answer(L"? Time.Timezone", L"9");
        cd.SetObject(kStar, CZntClickData::TYPE_STAR);
    }
};

TEST_F(PositionBlock, LowCorrectedAltitudesAndAbsurdAnswers) {
    status = CCdStatus();
    status.DispEqt2000 = 0;
    status.DispHrz = 1;
    // The true altitude whose corrected altitude is just below -3.
    double in[2] = {0.0, -3.0}, out[2];
    for (AtmosphericRefraction(in, out); out[1] >= -3.0; AtmosphericRefraction(in, out))
        in[1] -= 0.01;
    CString answer;
    answer.Format(L"%.17g", in[1]);
    host.Answer(L"? Star.HIP.27989.position.Altitude", answer);
    EXPECT_NE(cd.GetPosString(&host, 2).Find(L"補正済み高度 < -3.000ﾟ\r\n"), -1);
    // Answers that are no numbers or absurdly long do not break the block.
    status.Init();
    const CString huge(L'9', 5000);
    for (const wchar_t* suffix : {L".position.RA", L".position.Altitude", L".position.Azimuth",
                                  L".position.EquatorialDateApp.RA", L".Jd.Rise"})
        host.Answer(L"? " + CString(kStar) + suffix, huge);
    host.Answer(L"? Star.HIP.27989.position.DEC", L"north");
    host.Answer(L"? Star.HIP.27989.Jd.Set", L"1e308,nan,,x," + huge);
    host.Answer(L"? time.jd", L"inf");
    const CString text = cd.GetPosString(&host, 3);
    EXPECT_NE(text.Find(L"時角 --h--m--s = -.---ﾟ\r\n"), -1);
    EXPECT_NE(text.Find(L"赤緯 +00ﾟ00'00.0\" (J2000)"), -1);
}

}  // namespace
