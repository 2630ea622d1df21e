// SPDX-License-Identifier: LGPL-3.0-or-later
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <thread>
#include <tuple>

#include "appenv/Keyboard.h"
#include "appenv/SystemInfo.h"
#include "dirode/Registry.h"
#include "platform/SysInfo.h"
#include "support/TempRegistry.h"

namespace {

unsigned ProcessorFlags() {
    const DWORD features[] = {PF_MMX_INSTRUCTIONS_AVAILABLE, PF_XMMI_INSTRUCTIONS_AVAILABLE,
                              PF_XMMI64_INSTRUCTIONS_AVAILABLE, PF_SSE3_INSTRUCTIONS_AVAILABLE};
    unsigned f = 0;
    for (unsigned i = 0; i < 4; ++i) f |= IsProcessorFeaturePresent(features[i]) ? 1u << i : 0u;
    return f;
}

// The stored value overrides the processor, but "all bits" (-1) means: ask the processor.
TEST(SigSys, RegistryOverridesTheProcessor) {
    CSigSys::SIMD();  // answers without a registry set up
    TempRegistry reg;
    EXPECT_EQ(ProcessorFlags(), CSigSys().m_flags);
#if defined(__x86_64__)
    EXPECT_EQ(6u, CSigSys().m_flags & 6u);  // every x86-64 processor has SSE and SSE2
#endif
    for (auto [stored, want] : {std::pair<int, unsigned>{5, 5}, {-1, ProcessorFlags()}, {0, 0}}) {
        ASSERT_TRUE(CRegistry::Write(L"General", L"SIMD", stored, 1));
        EXPECT_EQ(want, CSigSys().m_flags) << stored;
    }
}

// 10.0 is later than 6.3, although 0 < 3; nothing is later than this system.
TEST(SigInfo, ReportsAModernSystem) {
    EXPECT_EQ(1, CSigInfo::IsWindows8Later());
    const ULONGLONG ge =
        VerSetConditionMask(VerSetConditionMask(0, VER_MAJORVERSION, VER_GREATER_EQUAL),
                            VER_MINORVERSION, VER_GREATER_EQUAL);
    for (auto [major, minor, later] :
         {std::tuple<DWORD, DWORD, bool>{10, 1, false}, {6, 3, true}}) {
        OSVERSIONINFOEXW want{};
        want.dwMajorVersion = major;
        want.dwMinorVersion = minor;
        EXPECT_EQ(later, bool(VerifyVersionInfoW(&want, VER_MAJORVERSION | VER_MINORVERSION, ge)))
            << major;
    }
}

// A stand-in keyboard program on PATH that notes its process id and waits.
class SoftKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string script = dir.File("fake-keyboard");
        std::ofstream(script) << "#!/bin/sh\necho $$ >> \"" << dir.File("started")
                              << "\"\nexec sleep 30\n";
        chmod(script.c_str(), 0755);
        setenv("PATH", (dir.path() + ":" + m_oldPath).c_str(), 1);
        setenv("ZCMCOM_SOFT_KEYBOARD", "fake-keyboard", 1);
    }
    void TearDown() override {
        CCommonKeyboard::CloseSoftKeyboard();
        setenv("PATH", m_oldPath.c_str(), 1);
        unsetenv("ZCMCOM_SOFT_KEYBOARD");
    }
    // Waits up to 30 s for `done`.
    static bool Within30s(const std::function<bool()>& done) {
        for (int i = 0; i < 3000 && !done(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return done();
    }
    // The ids the stand-in wrote, waiting for at least `count`.
    std::vector<int> Started(size_t count) {
        std::vector<int> ids;
        Within30s([&] {
            ids.clear();
            std::ifstream in(dir.File("started"));
            for (int pid; in >> pid;) ids.push_back(pid);
            return ids.size() >= count;
        });
        return ids;
    }
    static bool Runs(int pid) {  // and is no zombie
        std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
        std::string line;
        const size_t close = std::getline(in, line) ? line.rfind(')') : std::string::npos;
        return close != std::string::npos && line.size() > close + 2 && line[close + 2] != 'Z';
    }
    static bool Ends(int pid) {
        return Within30s([pid] { return !Runs(pid); });
    }
    TempDir dir;
    const std::string m_oldPath = getenv("PATH") ? getenv("PATH") : "";
};

// A missing or non-executable program: silently nothing. Otherwise one keyboard at a time,
// detached, ended by Close; one that died on its own is started afresh; a path names the
// program without a search of PATH.
TEST_F(SoftKeyboard, StartsOnceAndEndsWhatItStarted) {
    std::ofstream(dir.File("plain")) << "x";
    for (const std::string& name : {std::string("no-such-keyboard-program"), dir.File("plain")}) {
        setenv("ZCMCOM_SOFT_KEYBOARD", name.c_str(), 1);
        CCommonKeyboard::OpenSoftKeyboard();
        CCommonKeyboard::CloseSoftKeyboard();
    }
    EXPECT_TRUE(Started(0).empty());
    setenv("ZCMCOM_SOFT_KEYBOARD", "fake-keyboard", 1);
    CCommonKeyboard::OpenSoftKeyboard();
    std::vector<int> ids = Started(1);
    ASSERT_EQ(1u, ids.size());
    EXPECT_TRUE(Runs(ids[0]));
    EXPECT_NE(getpid(), getpgid(ids[0]));  // a session of its own
    CCommonKeyboard::OpenSoftKeyboard();   // already shown
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(1u, Started(1).size());
    kill(ids[0], SIGKILL);
    ASSERT_TRUE(Ends(ids[0]));
    setenv("ZCMCOM_SOFT_KEYBOARD", dir.File("fake-keyboard").c_str(), 1);
    setenv("PATH", m_oldPath.c_str(), 1);
    CCommonKeyboard::OpenSoftKeyboard();
    ids = Started(2);
    ASSERT_EQ(2u, ids.size());
    CCommonKeyboard::CloseSoftKeyboard();
    EXPECT_TRUE(Ends(ids[1]));
    CCommonKeyboard::CloseSoftKeyboard();  // nothing left: nothing happens
    CCommonKeyboard::OpenSoftKeyboard();   // once closed, started again
    ids = Started(3);
    ASSERT_EQ(3u, ids.size());
    CCommonKeyboard::CloseSoftKeyboard();
    EXPECT_TRUE(Ends(ids[2]));
}

}  // namespace
