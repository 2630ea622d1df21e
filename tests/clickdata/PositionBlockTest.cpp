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
        ASSERT_TRUE(host.LoadTableFile(ZCMCOM_TEST_DATA "/clickdata/position_star.txt"));
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
