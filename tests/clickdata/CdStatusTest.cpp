// SPDX-License-Identifier: LGPL-3.0-or-later
// The click-data switches: presets, copies, and persistence in the registry store,
// including across processes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <vector>

#include "clickdata/CdStatus.h"
#include "dirode/Registry.h"
#include "support/TempRegistry.h"

namespace {

// Every field in declaration order, so presets compare as a whole.
const std::vector<int CCdStatus::*> kFields = {
    // the 29 persisted ones
    &CCdStatus::AltSpan, &CCdStatus::AltCenter, &CCdStatus::AltMag, &CCdStatus::Precision,
    &CCdStatus::IgnoreErase, &CCdStatus::DispPopup, &CCdStatus::CnsInfo, &CCdStatus::StarDetails,
    &CCdStatus::DispMag, &CCdStatus::DispEqt2000, &CCdStatus::DispEqtDateApp,
    &CCdStatus::DispEqt1950, &CCdStatus::DispEclDateMean, &CCdStatus::DispEclDateApp,
    &CCdStatus::DispEcl2000, &CCdStatus::DispGal, &CCdStatus::DispHrz, &CCdStatus::DispHrzOrgSouth,
    &CCdStatus::DispRiseSet, &CCdStatus::DispAzmth, &CCdStatus::DispHourAngle,
    &CCdStatus::DispDeltaEqt, &CCdStatus::DispDistR, &CCdStatus::SolarOrbitDetails,
    &CCdStatus::PlanetPhysicalTable, &CCdStatus::PgcDetails, &CCdStatus::DispNameOnBar,
    &CCdStatus::DispComment, &CCdStatus::TransparentOnInactive,
    // the others
    &CCdStatus::RaInDegrees, &CCdStatus::UserFlag1, &CCdStatus::UserFlag2, &CCdStatus::UserFlag3};

std::vector<int> Fields(const CCdStatus& s) {
    std::vector<int> out;
    for (int CCdStatus::*f : kFields) out.push_back(s.*f);
    return out;
}

// The switches of the later lines, in their persisted order.
std::vector<int> LaterFields(const CCdStatus& s) {
    return {s.DispConstellation,    s.DispAirmass,      s.DispSiderealTime,
            s.DispLightTime,        s.DispPhaseAngle,   s.DispParallacticAngle,
            s.DispSunMoonAltitude,  s.DispTimeToEvents, s.DispObservingWindow,
            s.DispVariableForecast, s.DispFieldRatio,   s.DispProvenance};
}

TEST(CdStatus, PresetValuesWhatEachKeepsAndTheLaterLinesOnlyInInitAll) {
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
    // The later lines are off in every preset but InitAll.
    const std::vector<int> off(12, 0), on(12, 1);
    s = CCdStatus(5);
    EXPECT_EQ(LaterFields(s), off);
    s.InitAll();
    EXPECT_EQ(LaterFields(s), on);
    EXPECT_EQ(Fields(s), init);  // the other fields as Init sets them
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

TEST_F(CdStatusRegistry, LoadKeepsEveryFieldOfAnEmptyStoreAndSaveWritesEachKind) {
    // A load from an empty store keeps every field.
    CCdStatus s;
    s.Init();
    s.AltSpan = 42;
    const std::vector<int> before = Fields(s);
    s.Load();
    EXPECT_EQ(Fields(s), before);
    CCdStatus saved;
    saved.AltSpan = -30;
    saved.Precision = 2;
    saved.DispGal = 7;                        // a truth value: stored as 1
    saved.RaInDegrees = saved.UserFlag3 = 9;  // not persisted
    saved.Save();
    const auto number = [](const wchar_t* name) {
        int v = -1;
        return CRegistry::Read(L"ClickData", name, -1, &v, CRegistry::kindInt)
                   ? v
                   : -2;  // -2: not stored
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
    // RaInDegrees and the user's flags are not persisted: as Init left them.
    EXPECT_EQ(std::vector<int>({loaded.AltSpan, loaded.Precision, loaded.DispGal, loaded.DispHrz,
                                loaded.RaInDegrees, loaded.UserFlag1, loaded.UserFlag2,
                                loaded.UserFlag3}),
              std::vector<int>({-30, 2, 1, 0, 0, 0, 0, 1}));

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

// The 29 persisted fields and the planetarium's two settings: as the store holds them, or
// as a save of s writes them.
std::vector<int> Stored(const CCdStatus& s) {
    std::vector<int> out = Fields(s);
    out.resize(29);
    out.push_back(s.CnsInfo ? 1 : 0);
    out.push_back(s.DispPopup ? 0 : 1);
    return out;
}

std::vector<int> Stored() {
    CCdStatus loaded;
    for (int CCdStatus::*f : {&CCdStatus::AltSpan, &CCdStatus::AltCenter, &CCdStatus::Precision})
        loaded.*f = 12345;  // a value no save has
    loaded.Load();
    std::vector<int> out = Fields(loaded);
    out.resize(29);
    for (const wchar_t* name : {L"ClickData.Constellation", L"ClickData.Cyclic"}) {
        CString text;
        CRegistry::Read(L"Default", name, L"", &text);
        out.push_back(text == L"TRUE" ? 1 : text == L"FALSE" ? 0 : -1);
    }
    return out;
}

// Save number g: AltSpan is g, and every other persisted switch flips from one save to
// the next.
CCdStatus Generation(int g) {
    CCdStatus s = PresetA();
    for (size_t i = 1; i < 29; ++i)
        if (g % 2) s.*kFields[i] = s.*kFields[i] ? 0 : 1;
    s.AltSpan = g;
    return s;
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
    // Every value, the planetarium's settings too, is there and is one of the two writers'.
    const std::vector<int> got = Stored(), va = Stored(PresetA()), vb = Stored(PresetB());
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_TRUE(got[i] == va[i] || got[i] == vb[i]) << "field " << i << " = " << got[i];
}

// A saving process killed at any moment leaves, in a sound file, either its last finished
// save or the one it was making, whole: never a mix, never less.
TEST_F(CdStatusRegistry, SaveKilledAtAnyMomentLeavesAWholeSave) {
    int stored = 0;
    Generation(stored).Save();
    std::mt19937 random(20261206);
    for (int kill = 0; kill < 120 && !HasFailure(); ++kill) {
        int done[2];
        ASSERT_EQ(0, pipe(done));
        const pid_t child = Spawn([&] {
            for (int g = stored + 1;; ++g) {
                Generation(g).Save();
                if (write(done[1], &g, sizeof g) != sizeof g) _exit(1);
            }
        });
        ASSERT_GT(child, 0);
        close(done[1]);
        // Once the child has saved once, it is killed at any moment of the saves that
        // follow: within as long again as its first save took.
        const auto start = std::chrono::steady_clock::now();
        int finished = stored;
        if (read(done[0], &finished, sizeof finished) != sizeof finished) finished = stored;
        const auto first = std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now() - start);
        usleep(std::uniform_int_distribution<useconds_t>(0, first.count())(random));
        ::kill(child, SIGKILL);
        ASSERT_EQ(child, waitpid(child, nullptr, 0));
        for (int g; read(done[0], &g, sizeof g) == sizeof g;) finished = g;
        close(done[0]);
        const std::vector<int> now = Stored();
        ASSERT_EQ("ok", SqlOnFile(registry.userFile(), "PRAGMA integrity_check"));
        stored = now[0];
        ASSERT_TRUE(stored == finished || stored == finished + 1)
            << "after kill " << kill << ": save " << stored << " stored, " << finished
            << " finished";
        ASSERT_EQ(now, Stored(Generation(stored))) << "after kill " << kill;
    }
}

}  // namespace
