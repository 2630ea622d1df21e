// SPDX-License-Identifier: LGPL-3.0-or-later
// The CDF designation of every object family, and the database search key.
#include <gtest/gtest.h>

#include <sstream>

#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

class Cdf : public ::testing::Test {
protected:
    CCdStatus status;
    FakeHost host;
    ClickDataProbe cd{status};
    void SetUp() override {
        ASSERT_TRUE(host.LoadTableFile(ZCMCOM_TEST_DATA "/clickdata/cdf_host.txt"));
    }

    // The designation and the queries sent for it.
    ::testing::AssertionResult Is(const wchar_t* path, const wchar_t* designation,
                                  const std::vector<CString>& queries = {}) {
        host.ClearLog();
        return TextAndQueries(cd.StkToCdf(&host, path), designation, host, queries);
    }
};

TEST_F(Cdf, StarsConstellationsAndTheBareSky) {
    EXPECT_TRUE(Is(L"Star.HIP.27989", L"STAR αOri",
                   Ask(L"Star.HIP.27989",
                       {L".FlamsteedNumber", L".BayerLetter", L".Constellation.Abbreviation"})));
    // Without a Bayer letter the Flamsteed number; without either the constellation alone.
    host.Answer(L"? Star.HIP.27989.BayerLetter", L"");
    EXPECT_EQ(cd.StkToCdf(&host, L"Star.HIP.27989"), L"STAR 58Ori");
    host.Answer(L"? Star.HIP.27989.FlamsteedNumber", L"");
    EXPECT_EQ(cd.StkToCdf(&host, L"Star.HIP.27989"), L"STAR Ori");
    // Catalogue designations from the path alone.
    EXPECT_TRUE(Is(L"Star.XNO.1", L""));
    EXPECT_TRUE(Is(L"Star.gcvs.delCep", L"GCVS delCep"));
    EXPECT_TRUE(Is(L"Star.WDS.05353-0523.A.B", L"WDS 05353-0523.A.B"));
    EXPECT_TRUE(Is(L"Star.WDS.05353-0523.A", L"WDS 05353-0523.A."));

    EXPECT_TRUE(Is(L"Constellation.Ori", L"CONS Ori", {L"? Constellation.Ori.Abbreviation"}));
    EXPECT_TRUE(Is(L"Equatorial", L"CONS CMa",
                   {L"? Equatorial.Position.Constellation", L"? Constellation.CMa.Abbreviation"}));
    status.CnsInfo = 0;
    EXPECT_TRUE(Is(L"Equatorial", L""));
}

// The designations of the other families, and the queries sent for each, are
// tests/golden/cdf_designations.txt: an unknown kind, or no path, gives nothing.
TEST_F(Cdf, OtherFamilies) {
    host.Answer(L"? AdfSystem.#2.File", L"c.adf");  // read before "Comet.Halley" is judged
    host.Answer(L"? AdfSystem.#2.ObjectName", L"MyCat");
    cd.IsAdfsystem(&host, L"x.y");
    host.Answer(L"? MyCat.A2.Name", L"二重星団");  // a catalogue the user loaded
    std::string out;
    std::istringstream paths(ReadFileBytes(ZCMCOM_TEST_DATA "/clickdata/cdf_paths.txt"));
    for (std::string path; std::getline(paths, path);) {
        if (path[0] == '#') continue;
        host.ClearLog();
        out += path + " [" + cd.StkToCdf(&host, W(path)).ToUtf8() + "]";
        for (const CString& query : host.Queries()) out += " | " + query.ToUtf8();
        out += "\n";
    }
    ExpectGolden(out, "cdf_designations.txt");
}

TEST_F(Cdf, DatabaseSearchStringAndTheDesignationLeavesItAlone) {
    // Nothing clicked yet.
    EXPECT_TRUE(TextAndQueries(cd.GetDBSearchString(&host), L"", host, {}));
    // The path given to GetText.
    cd.GetText(&host, L"Solar.Planet.Mars", 0);
    host.ClearLog();
    EXPECT_TRUE(TextAndQueries(cd.GetDBSearchString(&host), L"Solar.Planet.Mars", host, {}));

    const struct {
        const wchar_t* path;
        int type;
        const wchar_t* key;
    } kCases[] = {
        {L"Star.HIP.1", CZntClickData::TYPE_STAR, L"Star.HIP.1"},
        {L"MyCat.A2", CZntClickData::TYPE_ADFSYSTEM, L"MyCat.A2"},
        {L"DeepSkyImage.1", CZntClickData::TYPE_DEEPSKYIMAGE, L""},
        {L"FieldOfViewCircle.1", CZntClickData::TYPE_FIELDOFVIEW, L""},
        {L"AngleOfView.1", CZntClickData::TYPE_ANGLEOFVIEW, L""},
        {L"MosaicOfField.1", CZntClickData::TYPE_MOSAICOFFIELD, L""},
    };
    for (const auto& c : kCases) {
        cd.SetObject(c.path, c.type);
        EXPECT_TRUE(TextAndQueries(cd.GetDBSearchString(&host), c.key, host, {}))
            << CString(c.path).ToUtf8();
    }

    // The bare sky: the constellation of the point, while the constellation switch is on.
    cd.SetObject(L"Equatorial", CZntClickData::TYPE_EQUATORIAL);
    EXPECT_TRUE(TextAndQueries(cd.GetDBSearchString(&host), L"Constellation.CMa", host,
                               {L"? Equatorial.Position.Constellation"}));
    status.CnsInfo = 0;
    EXPECT_TRUE(TextAndQueries(cd.GetDBSearchString(&host), L"", host, {}));

    // An "Adf" path: the catalogue's kind of object, then the object's label.
    host.Answer(L"? Adf.MyCat.ObjectName", L"散開星団");
    host.Answer(L"? Adf.MyCat.No12.Label", L"No.12");
    cd.SetObject(L"Adf.MyCat.No12", CZntClickData::TYPE_ADF);
    EXPECT_TRUE(TextAndQueries(cd.GetDBSearchString(&host), L"散開星団.No.12", host,
                               {L"? Adf.MyCat.ObjectName", L"? Adf.MyCat.No12.Label"}));
    cd.SetObject(L"Adf.MyCat.12", CZntClickData::TYPE_ADF);
    EXPECT_TRUE(TextAndQueries(cd.GetDBSearchString(&host), L".", host,
                               {L"? .ObjectName", L"? Adf.MyCat.12.Label"}));
    // A designation leaves the object of the last text alone.
    EXPECT_EQ(cd.GetText(&host, L"Constellation.Ori", 1), L" Ori");
    EXPECT_EQ(cd.StkToCdf(&host, L"Solar.Sun"), L"SUN");
    EXPECT_EQ(cd.GetDBSearchString(&host), L"Constellation.Ori");
    // Also when the host fails part-way.
    host.Fail(L"? Meteor.Leonids.Name");
    ExpectThrows<COleDispatchException>([&] { cd.StkToCdf(&host, L"Meteor.Leonids"); });
    EXPECT_EQ(cd.GetDBSearchString(&host), L"Constellation.Ori");
    EXPECT_EQ(cd.Type(), CZntClickData::TYPE_CONSTELLATION);
}

}  // namespace
