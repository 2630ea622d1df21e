// The click-data switches: presets, copies, and persistence in the registry store,
// including across processes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "clickdata/CdStatus.h"
#include "dirode/Registry.h"
#include "support/TempRegistry.h"

namespace {

// Every field in declaration order, so presets compare as a whole.
std::vector<int> Fields(const CCdStatus& s) {
    return {s.AltSpan, s.AltCenter, s.AltMag, s.Precision, s.IgnoreErase, s.DispPopup,
            s.CnsInfo, s.StarDetails, s.DispMag, s.DispEqt2000, s.DispEqtDateApp,
            s.DispEqt1950, s.DispEclDateMean, s.DispEclDateApp, s.DispEcl2000, s.DispGal,
            s.DispHrz, s.DispHrzOrgSouth, s.DispRiseSet, s.DispAzmth, s.DispHourAngle,
            s.DispDeltaEqt, s.DispDistR, s.SolarOrbitDetails, s.PlanetPhysicalTable,
            s.PgcDetails, s.DispNameOnBar, s.DispComment, s.TransparentOnInactive,
            s.RaInDegrees, s.UserFlag1, s.UserFlag2, s.UserFlag3};
}

TEST(CdStatus, PresetValuesAndWhatEachKeeps) {
    const std::vector<int> defaults = {0, 0, 0, 0, 1, 1, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0,
                                       1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1};
    const std::vector<int> init = {0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                   1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 0, 0, 0, 0, 5};
    EXPECT_EQ(Fields(CCdStatus()), defaults);
    CCdStatus s(5);
    EXPECT_EQ(s.UserFlag3, 5);
    s.Init();  // leaves UserFlag3
    EXPECT_EQ(Fields(s), init);
    s.RaInDegrees = 1;
    s.SetZentacam();  // back to the defaults, but leaves RaInDegrees
    CCdStatus expected;
    expected.RaInDegrees = 1;
    EXPECT_EQ(Fields(s), Fields(expected));
    EXPECT_EQ(Fields(CCdStatus(s)), Fields(expected));
}

// The switches of the later lines, in their persisted order.
std::vector<int> LaterFields(const CCdStatus& s) {
    return {s.DispConstellation, s.DispAirmass,         s.DispSiderealTime,    s.DispLightTime,
            s.DispPhaseAngle,    s.DispParallacticAngle, s.DispSunMoonAltitude, s.DispTimeToEvents,
            s.DispObservingWindow, s.DispVariableForecast, s.DispFieldRatio,    s.DispProvenance};
}

TEST(CdStatus, LaterLinesAreOffInEveryPresetButInitAll) {
    const std::vector<int> off(12, 0), on(12, 1);
    CCdStatus s(5);
    EXPECT_EQ(LaterFields(s), off);
    s.InitAll();
    EXPECT_EQ(LaterFields(s), on);
    std::vector<int> init = Fields(s);
    CCdStatus plain(5);
    plain.Init();
    EXPECT_EQ(init, Fields(plain));  // the fields of today as Init sets them
    s.Init();
    EXPECT_EQ(LaterFields(s), off);
    s.InitAll();
    s.SetZentacam();
    EXPECT_EQ(LaterFields(s), off);
}

class CdStatusRegistry : public ::testing::Test {
protected:
    TempRegistry registry;
};

TEST_F(CdStatusRegistry, LoadOnAnEmptyRegistryKeepsEveryField) {
    CCdStatus s;
    s.Init();
    s.AltSpan = 42;
    const std::vector<int> before = Fields(s);
    s.Load();
    EXPECT_EQ(Fields(s), before);
}

TEST_F(CdStatusRegistry, SaveWritesNumbersTruthValuesAndThePlanetariumSettings) {
    CCdStatus saved;
    saved.AltSpan = -30;
    saved.Precision = 2;
    saved.DispGal = 7;  // a truth value: stored as 1
    saved.RaInDegrees = 1;  // not persisted
    saved.Save();
    const auto number = [](const wchar_t* name) {
        int v = -1;
        return CRegistry::Read(L"ClickData", name, -1, &v, CRegistry::kindInt) ? v : -2;  // -2: not stored
    };
    const auto setting = [](const wchar_t* name) {
        CString text;
        CRegistry::Read(L"Default", name, L"", &text);
        return text;
    };
    EXPECT_EQ(number(L"AltSpan"), -30);
    EXPECT_EQ(number(L"DispGal"), 1);
    EXPECT_EQ(number(L"RaInDegrees"), -2);
    EXPECT_EQ(setting(L"ClickData.Constellation"), L"TRUE");
    EXPECT_EQ(setting(L"ClickData.Cyclic"), L"FALSE");  // DispPopup 1: not cyclic

    CCdStatus loaded;
    loaded.Init();
    loaded.Load();
    // RaInDegrees and UserFlag1 are not persisted: as Init left them.
    EXPECT_EQ(std::vector<int>({loaded.AltSpan, loaded.Precision, loaded.DispGal, loaded.DispHrz, loaded.RaInDegrees,
                                loaded.UserFlag1}),
              std::vector<int>({-30, 2, 1, 0, 0, 0}));

    saved.CnsInfo = 0;
    saved.DispPopup = 0;
    saved.Save();
    EXPECT_EQ(setting(L"ClickData.Constellation"), L"FALSE");
    EXPECT_EQ(setting(L"ClickData.Cyclic"), L"TRUE");
}

TEST_F(CdStatusRegistry, LaterSwitchesPersistAfterTheOthersAndAnyNonZeroValueIsOn) {
    CCdStatus saved;
    saved.InitAll();
    saved.DispFieldRatio = 0;
    saved.Save();
    CCdStatus loaded;
    loaded.Load();
    EXPECT_EQ(LaterFields(loaded), LaterFields(saved));
    // Another program (or a hand) stored 2 and -1: both read as on.
    CRegistry::Write(L"ClickData", L"DispFieldRatio", 2, CRegistry::kindInt);
    CRegistry::Write(L"ClickData", L"DispAirmass", -1, CRegistry::kindInt);
    CCdStatus other;
    other.Load();
    EXPECT_EQ(other.DispFieldRatio, 1);
    EXPECT_EQ(other.DispAirmass, 1);
}

// Runs body in a child process; returns its exit status.
template <class F>
pid_t Spawn(F body) {
    const pid_t child = fork();
    if (child == 0) {
        body();
        _exit(0);
    }
    return child;
}

int ExitStatus(pid_t child) {
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

CCdStatus PresetA() {
    CCdStatus s;
    s.Init();
    s.AltSpan = 11;
    s.AltCenter = -45;
    s.Precision = 1;
    return s;
}

CCdStatus PresetB() {
    CCdStatus s;
    s.AltSpan = 22;
    s.AltCenter = 60;
    s.DispPopup = 0;
    return s;
}

TEST_F(CdStatusRegistry, SavedInOneProcessLoadedInAnother) {
    const pid_t child = Spawn([] { PresetA().Save(); });
    ASSERT_GT(child, 0);
    ASSERT_EQ(ExitStatus(child), 0);
    CCdStatus loaded;
    loaded.Load();
    std::vector<int> expected = Fields(PresetA());
    // The three fields that are not persisted keep the loading side's values.
    for (int i = 29; i < 33; ++i) expected[i] = Fields(CCdStatus())[i];
    EXPECT_EQ(Fields(loaded), expected);
}

TEST_F(CdStatusRegistry, TwoProcessesSavingAtOnceLeaveAReadableStore) {
    constexpr int kRounds = 15;
    const pid_t a = Spawn([] {
        for (int i = 0; i < kRounds; ++i) PresetA().Save();
    });
    const pid_t b = Spawn([] {
        for (int i = 0; i < kRounds; ++i) PresetB().Save();
    });
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    EXPECT_EQ(ExitStatus(a), 0);
    EXPECT_EQ(ExitStatus(b), 0);

    // Every value is there (none keeps the marker) and is one of the two writers'.
    CCdStatus loaded;
    for (int CCdStatus::*f : {&CCdStatus::AltSpan, &CCdStatus::AltCenter, &CCdStatus::Precision})
        loaded.*f = 12345;
    loaded.Load();
    const std::vector<int> got = Fields(loaded), va = Fields(PresetA()), vb = Fields(PresetB());
    for (size_t i = 0; i < 29; ++i)
        EXPECT_TRUE(got[i] == va[i] || got[i] == vb[i]) << "field " << i << " = " << got[i];
    CString text;
    EXPECT_NE(CRegistry::Read(L"Default", L"ClickData.Cyclic", L"", &text), 0);
    EXPECT_TRUE(text == L"TRUE" || text == L"FALSE");
}

}  // namespace
