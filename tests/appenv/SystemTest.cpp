#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "appenv/Keyboard.h"
#include "appenv/SystemInfo.h"
#include "dirode/Registry.h"
#include "platform/Resource.h"
#include "platform/SysInfo.h"
#include "res/LibraryResources.h"
#include "support/TempRegistry.h"

namespace {

unsigned ProcessorFlags() {
    unsigned f = 0;
    if (IsProcessorFeaturePresent(PF_MMX_INSTRUCTIONS_AVAILABLE)) f |= 1;
    if (IsProcessorFeaturePresent(PF_XMMI_INSTRUCTIONS_AVAILABLE)) f |= 2;
    if (IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE)) f |= 4;
    if (IsProcessorFeaturePresent(PF_SSE3_INSTRUCTIONS_AVAILABLE)) f |= 8;
    return f;
}

TEST(SigSys, RegistryOverridesTheProcessor) {
    TempRegistry reg;
    EXPECT_EQ(ProcessorFlags(), CSigSys().m_flags);
#if defined(__x86_64__)
    EXPECT_EQ(6u, CSigSys().m_flags & 6u);  // every x86-64 processor has SSE and SSE2
#endif
    ASSERT_TRUE(CRegistry::Write(L"General", L"SIMD", 5, 1));
    EXPECT_EQ(5u, CSigSys().m_flags);
    ASSERT_TRUE(CRegistry::Write(L"General", L"SIMD", -1, 1));  // "all bits": ask the processor
    EXPECT_EQ(ProcessorFlags(), CSigSys().m_flags);
    ASSERT_TRUE(CRegistry::Write(L"General", L"SIMD", 0, 1));
    EXPECT_EQ(0u, CSigSys().m_flags);
}

TEST(SigInfo, ReportsAModernSystem) {
    EXPECT_EQ(1, CSigInfo::IsWindows8Later());
    OSVERSIONINFOEXW want{};
    want.dwMajorVersion = 10;
    want.dwMinorVersion = 1;
    const ULONGLONG ge = VerSetConditionMask(
        VerSetConditionMask(0, VER_MAJORVERSION, VER_GREATER_EQUAL), VER_MINORVERSION,
        VER_GREATER_EQUAL);
    EXPECT_FALSE(VerifyVersionInfoW(&want, VER_MAJORVERSION | VER_MINORVERSION, ge));
    want.dwMajorVersion = 6;
    want.dwMinorVersion = 3;  // 10.0 is later than 6.3, although 0 < 3
    EXPECT_TRUE(VerifyVersionInfoW(&want, VER_MAJORVERSION | VER_MINORVERSION, ge));
}

TEST(LibraryLoad, ResourcesAndSimdAreThere) {
    EXPECT_NE(nullptr, ZcmLibraryModule());
    EXPECT_EQ(ZcmLibraryModule(), GetModuleHandleW(L"ZCMCOM.DLL"));
    CString key;
    ASSERT_TRUE(key.LoadString(IDS_CLICKDATA_KEY));
    EXPECT_EQ(CString(L"ClickData"), key);
    EXPECT_NE(nullptr, AfxFindStringResource(IDS_URL_UPDATE_INI));
    CSigSys::SIMD();  // answers without a registry set up
}

// A stand-in keyboard program that notes its process id and waits.
class SoftKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        m_oldPath = getenv("PATH") ? getenv("PATH") : "";
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
    // The ids the stand-in wrote, waiting up to 5 s for at least `count`.
    std::vector<int> Started(size_t count) {
        std::vector<int> ids;
        for (int i = 0; i < 500; ++i) {
            ids.clear();
            std::ifstream in(dir.File("started"));
            for (int pid; in >> pid;) ids.push_back(pid);
            if (ids.size() >= count) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return ids;
    }
    static bool Runs(int pid) {
        std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
        std::string line;
        if (!std::getline(in, line)) return false;
        const size_t close = line.rfind(')');
        return close != std::string::npos && line.size() > close + 2 && line[close + 2] != 'Z';
    }
    static bool Ends(int pid) {
        for (int i = 0; i < 500; ++i) {
            if (!Runs(pid)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    TempDir dir;
    std::string m_oldPath;
};

TEST_F(SoftKeyboard, StartsOnceAndEndsWhatItStarted) {
    CCommonKeyboard::CloseSoftKeyboard();  // nothing started: nothing happens
    CCommonKeyboard::OpenSoftKeyboard();
    std::vector<int> ids = Started(1);
    ASSERT_EQ(1u, ids.size());
    EXPECT_TRUE(Runs(ids[0]));
    EXPECT_NE(getpid(), getpgid(ids[0]));  // detached into a session of its own
    CCommonKeyboard::OpenSoftKeyboard();  // already shown
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(1u, Started(1).size());
    CCommonKeyboard::CloseSoftKeyboard();
    EXPECT_TRUE(Ends(ids[0]));
    // Once it has gone, the next open starts it again; a keyboard that died on its own is
    // started afresh too.
    CCommonKeyboard::OpenSoftKeyboard();
    ids = Started(2);
    ASSERT_EQ(2u, ids.size());
    kill(ids[1], SIGKILL);
    ASSERT_TRUE(Ends(ids[1]));
    CCommonKeyboard::OpenSoftKeyboard();
    ids = Started(3);
    ASSERT_EQ(3u, ids.size());
    CCommonKeyboard::CloseSoftKeyboard();
    EXPECT_TRUE(Ends(ids[2]));
}

TEST_F(SoftKeyboard, ProgramNamedByPath) {
    setenv("ZCMCOM_SOFT_KEYBOARD", dir.File("fake-keyboard").c_str(), 1);
    setenv("PATH", m_oldPath.c_str(), 1);
    CCommonKeyboard::OpenSoftKeyboard();
    const std::vector<int> ids = Started(1);
    ASSERT_EQ(1u, ids.size());
    CCommonKeyboard::CloseSoftKeyboard();
    EXPECT_TRUE(Ends(ids[0]));
}

TEST_F(SoftKeyboard, NoProgramNoTrouble) {
    setenv("ZCMCOM_SOFT_KEYBOARD", "no-such-keyboard-program", 1);
    CCommonKeyboard::OpenSoftKeyboard();
    CCommonKeyboard::CloseSoftKeyboard();
    setenv("ZCMCOM_SOFT_KEYBOARD", dir.File("started").c_str(), 1);  // not executable
    CCommonKeyboard::OpenSoftKeyboard();
    CCommonKeyboard::CloseSoftKeyboard();
    EXPECT_TRUE(Started(0).empty());
}

}  // namespace
