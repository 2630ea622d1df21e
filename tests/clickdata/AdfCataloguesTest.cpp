// SPDX-License-Identifier: LGPL-3.0-or-later
// The recognition of ADF catalogues: the list of loaded catalogues is read once and kept
// whole or not at all (the texts themselves are golden cases, tests/golden/click_texts.txt).
#include <gtest/gtest.h>

#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

using AdfCatalogues = ClickDataTest;

TEST_F(AdfCatalogues, TheListIsReadOnceAndKeptWholeOrNotAtAll) {
    AnswerObject(host, L"AdfSystem.#",
                 {{L"1.File", L"c:\\adf\\mycat.adf"},
                  {L"1.ObjectName", L"MyCat"},
                  {L"3.File", L"other.adf"},
                  {L"3.ObjectName", L"Other"}});
    EXPECT_EQ(cd.IsAdfsystem(&host, L"NoDot"), 0);
    EXPECT_TRUE(QueriesAre(host, {}));
    EXPECT_EQ(cd.IsAdfsystem(&host, L"mycat.A1"), 1);
    EXPECT_TRUE(QueriesAre(host, AdfFileQueries({1, 3})));
    EXPECT_EQ(cd.IsAdfsystem(&host, L"OTHER.x.y"), 1);
    EXPECT_EQ(cd.IsAdfsystem(&host, L"Third.x"), 0);
    EXPECT_TRUE(QueriesAre(host, {}));
    cd.ClearCache();  // the list outlives the cache
    EXPECT_EQ(cd.IsAdfsystem(&host, L"MyCat.B2"), 1);
    EXPECT_TRUE(QueriesAre(host, {}));
    // Again, in a new frame: a host failure part-way keeps nothing.
    ClickDataProbe fresh{status};
    host.Fail(L"? AdfSystem.#2.File");
    ExpectThrows<COleDispatchException>([&] { fresh.IsAdfsystem(&host, L"MyCat.A1"); });
    EXPECT_EQ(fresh.AdfKinds().GetSize(), 0);
    host.ClearFailures();
    host.ClearLog();
    EXPECT_EQ(fresh.IsAdfsystem(&host, L"MyCat.A1"), 1);
    EXPECT_TRUE(QueriesAre(host, AdfFileQueries({1, 3})));
}

}  // namespace
