// SPDX-License-Identifier: LGPL-3.0-or-later
#include <atomic>
#include <chrono>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/Afx.h"
#include "support/TestUtil.h"

namespace {

struct Probe {
    CEvent go;
    std::atomic<int> runs{0};
    CWinThread* seenThread = nullptr;
    CWnd* seenMainWnd = nullptr;
};

UINT RecordThread(LPVOID param) {
    auto* p = static_cast<Probe*>(param);
    p->seenThread = AfxGetThread();
    p->seenMainWnd = AfxGetMainWnd();
    ++p->runs;
    return 7;
}

UINT WaitForGo(LPVOID param) {
    auto* p = static_cast<Probe*>(param);
    p->go.Lock(5000);
    ++p->runs;
    return 0;
}

CWinThread* Suspended(Probe* probe) {
    CWinThread* t =
        AfxBeginThread(RecordThread, probe, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (t) t->m_bAutoDelete = FALSE;
    return t;
}

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

TEST(Threads, SuspendedUntilResumedWithItsOwnThreadObject) {
    Probe probe;
    delete Suspended(&probe);  // deleting a suspended thread never runs it
    EXPECT_EQ(probe.runs, 0);
    CWnd window;
    CWinThread* t = Suspended(&probe);
    ASSERT_NE(t, nullptr);
    t->m_pMainWnd = &window;
    DWORD code = 0;
    EXPECT_EQ(
        (std::tuple{t->WaitForExit(50), probe.runs.load(), t->GetExitCodeThread(&code), code}),
        std::make_tuple(DWORD(WAIT_TIMEOUT), 0, TRUE, DWORD(STILL_ACTIVE)));
    EXPECT_EQ(
        (std::tuple{t->ResumeThread(), t->WaitForExit(5000), t->ResumeThread(), probe.runs.load()}),
        std::make_tuple(1u, DWORD(WAIT_OBJECT_0), 0u, 1));
    // AfxGetThread inside gives the thread's own object.
    EXPECT_EQ((std::tuple{probe.seenThread, probe.seenMainWnd, t->GetExitCodeThread(&code), code}),
              std::make_tuple(t, static_cast<CWnd*>(&window), TRUE, 7u));
    delete t;
}

TEST(Threads, AutoDeletingThreadsFreeThemselves) {
    // Under the sanitizers a leaked or doubly freed thread object shows up here.
    Probe probe;
    for (int i = 0; i < 20; ++i) ASSERT_NE(AfxBeginThread(WaitForGo, &probe), nullptr);
    for (int i = 0; i < 3020 && probe.runs < 20; ++i) {
        probe.go.SetEvent();
        if (i >= 20) Pause(10);
    }
    EXPECT_EQ(probe.runs, 20);
    EXPECT_EQ(AfxBeginThread(nullptr, nullptr), nullptr);
}

TEST(Events, AutoResetReleasesOneWaiterAtATime) {
    CEvent event;
    EXPECT_FALSE(event.Lock(0));
    event.SetEvent();
    event.SetEvent();  // setting a set event changes nothing
    EXPECT_EQ((std::pair{event.Lock(0), event.Lock(0)}), std::make_pair(TRUE, FALSE));
    std::atomic<int> released{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i) waiters.emplace_back([&] { released += event.Lock(30000); });
    for (int n = 1; n <= 3; ++n) {
        event.SetEvent();
        for (int i = 0; i < 5000 && released < n; ++i) Pause(2);
        Pause(20);
        EXPECT_EQ(released, n);
    }
    for (auto& w : waiters) w.join();
}

TEST(Events, ManualResetStaysSetAndTimesOut) {
    CEvent event(FALSE, TRUE), initiallySet(TRUE);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(event.Lock(30));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
    event.SetEvent();
    EXPECT_EQ((std::pair{event.Lock(0), event.Lock(0)}), std::make_pair(TRUE, TRUE));
    event.ResetEvent();
    EXPECT_FALSE(event.Lock(0));
    EXPECT_EQ((std::pair{initiallySet.Lock(0), initiallySet.Lock(0)}), std::make_pair(TRUE, FALSE));
}

TEST(CriticalSections, RecursiveAndExclusive) {
    CCriticalSection cs;
    {
        CSingleLock outer(&cs, TRUE);
        CSingleLock inner(&cs, TRUE);  // the same thread may enter again
        EXPECT_TRUE(inner.IsLocked());
        std::thread([&] { EXPECT_FALSE(cs.Lock(20)); }).join();
    }
    long counter = 0;
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t)
        workers.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                CSingleLock lock(&cs, TRUE);
                ++counter;
            }
        });
    for (auto& w : workers) w.join();
    EXPECT_EQ(counter, 40000);
}
