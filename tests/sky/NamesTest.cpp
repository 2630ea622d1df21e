// SPDX-License-Identifier: LGPL-3.0-or-later
// The sky's name index: folding, the check of typed text, and lookups over the host's
// objects and over entries a source would list.
#include <algorithm>
#include <gtest/gtest.h>

#include "sky/Names.h"
#include "sky/SkyHost.h"
#include "SkyTables.h"

namespace {

TEST(SkyNames, FoldingIgnoresCaseWidthKanaAndPunctuation) {
    const std::pair<const wchar_t*, const wchar_t*> same[] = {
        {L"Sirius", L"SIRIUS"},       {L"ｼﾘｳｽ", L"シリウス"}, {L"しりうす", L"シリウス"},
        {L"Ｍ４２", L"m42"},          {L"M 42", L"m42"},      {L"ﾍﾞﾃﾙｷﾞｳｽ", L"ベテルギウス"},
        {L"ﾎﾟﾙｯｸｽ", L"ポルックス"},   {L"ｳﾞｪｶﾞ", L"ヴェガ"},  {L"NGC\u30001976", L"ngc1976"},
        {L"Alpha-Cen.", L"alphacen"}, {L"ÉTOILE", L"étoile"}, {L"と\u3099は\u309A", L"ドパ"}};
    for (const auto& [a, b] : same)
        EXPECT_EQ(sky::FoldName(a), sky::FoldName(b)) << CString(a).ToUtf8();
    // Every voiced and semi-voiced kana; a voiced kana is another letter.
    EXPECT_EQ(sky::FoldName(L"ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟｳﾞ"),
              L"ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポヴ");
    for (const auto& [plain, voiced] : {std::pair{L"ト", L"ド"}, {L"ハ", L"パ"}, {L"ハ", L"バ"}})
        EXPECT_NE(sky::FoldName(plain), sky::FoldName(voiced)) << CString(voiced).ToUtf8();
    EXPECT_NE(sky::FoldName(L"1P/Halley"), sky::FoldName(L"1PHalley"));  // "/" stays
}

TEST(SkyNames, TextsThatCannotBeSearchedFor) {
    EXPECT_EQ(sky::NameTextError("Sirius"), "");
    EXPECT_EQ(sky::NameTextError("\xE3\x82\xB7\xE3\x83\xAA\xE3\x82\xA6\xE3\x82\xB9"),
              "");  // シリウス
    for (const std::string& bad :
         {std::string(), std::string(1 << 20, 'a'), std::string("\xFF"), std::string("\xE3\x82"),
          std::string("\xC0\xAF"), std::string("\xED\xA0\x80"), std::string("a\x80") + "b"})
        EXPECT_NE(sky::NameTextError(bad), "") << bad.size();
}

TEST(SkyNames, ResolvesTheHostsObjectsAndASourcesEntries) {
    CSkyHost host(2461381.0);
    sky::NameIndex index(host);
    // The index file and the index built from the catalogues answer alike.
    const sky::NameIndex built = sky::NameIndex::Built(host);
    for (const std::string& row : DataRows("sky/names.txt", 2)) {
        const std::vector<std::string> f = TabFields(row);
        EXPECT_EQ(index.Resolve(W(f[0])), W(f[1])) << row;
        EXPECT_EQ(built.Resolve(W(f[0])), W(f[1])) << row;
        EXPECT_EQ(index.Find(W(f[0])).size(), built.Find(W(f[0])).size()) << row;
    }
    // Each object once: "Andromeda" is the constellation and the galaxy; Ceres the dwarf
    // planet that is minor planet 1.
    EXPECT_EQ(index.Find(L"Andromeda").size(), 2u);
    EXPECT_EQ(index.Find(L"Ceres").size(), 1u);
    // Part of a name finds every object holding it, whole names first.
    const auto found = index.Find(L"orion");
    ASSERT_GE(found.size(), 2u);
    EXPECT_EQ(found[0].entry->path, CString(L"Constellation.Ori"));
    EXPECT_EQ(found[0].rank, 0);
    EXPECT_TRUE(std::any_of(found.begin() + 1, found.end(), [](const auto& m) {
        return m.entry->path == CString(L"DeepSkyObject.M.42");
    }));
    // A source's entries are found with no change to the index.
    index.Add({L"Solar.Comet.C2099Z1", {L"Kei", L"ケイ彗星", L"C/2099 Z1"}, L"comet"});
    EXPECT_EQ(index.Resolve(L"ｹｲ彗星"), CString(L"Solar.Comet.C2099Z1"));
    EXPECT_EQ(index.Resolve(L"c/2099 z1"), CString(L"Solar.Comet.C2099Z1"));
    // A miss names the closest names.
    const auto closest = index.Closest(L"Siruis", 3);
    ASSERT_EQ(closest.size(), 3u);
    EXPECT_EQ(closest[0], CString(L"Sirius"));
    EXPECT_EQ(index.Closest(CString(std::string(1 << 20, 'x').c_str()), 2).size(), 2u);
}

}  // namespace
