// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom find: the built-in sky's objects by name; and the name lookup of zcmcom click.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

#include "Command.h"
#include "SkyOptions.h"
#include "sky/Names.h"
#include "sky/SkyHost.h"
#include "sky/UnixTime.h"

namespace {

// "no object named 'X' (closest: A, B, C)", status 3.
int UnknownObject(const sky::NameIndex& index, const std::string& text) {
    CString closest;
    for (const CString& name : index.Closest(CString(text.c_str()), 3))
        closest += (closest.IsEmpty() ? L"" : L", ") + name;
    return UnknownObjectError("no object named '" + text + "' (" +
                              (closest.IsEmpty() ? "" : "closest: " + closest.ToUtf8() + "; ") +
                              "see zcmcom find)");
}

int RunFind(const std::string& text) {
    const std::string why = sky::NameTextError(text);
    if (!why.empty()) return UsageError("cannot search for " + why);
    const sky::NameIndex index = sky::NameIndex::ForSky(sky::JdNow());
    const auto found = index.Find(CString(text.c_str()));
    if (found.empty()) return UnknownObject(index, text);
    for (const auto& match : found) {
        CString names;
        for (const CString& name : match.entry->names)
            names += (names.IsEmpty() ? L"" : L", ") + name;
        // An asterism leads to its stars.
        const CString& kind = match.entry->kind;
        PrintLine(match.entry->path + L"\t" + names +
                  (kind.Left(9) == L"asterism " ? L"\t" + kind.Mid(9) : CString()));
    }
    return 0;
}

CommandRun DefineFind(CLI::App& cmd) {
    auto text = std::make_shared<std::string>();
    cmd.add_option("TEXT", *text,
                   "a name or part of one: Sirius, シリウス, M42, NGC 1976, HIP 32349, Moon")
        ->required();
    return [text] { return RunFind(*text); };
}

const CommandRegistration kFind(
    {"find", "the built-in sky's objects whose names hold TEXT, with their paths", DefineFind});

}  // namespace

int ResolveSkyObject(CSkyHost& host, std::string& path) {
    const std::string why = sky::NameTextError(path);
    if (!why.empty()) return UsageError("cannot look up " + why);
    // A path the sky answers for stays as it is (names seldom hold a dot, so the sky is
    // asked first only for texts with one).
    auto answers = [&] {
        const CString answer = host.Execute(CString(("? " + path + ".Position.RA").c_str()));
        return !answer.IsEmpty() && answer != L"*";
    };
    if (path.find('.') != std::string::npos && answers()) return -1;
    const sky::NameIndex index = sky::NameIndex::ForSky(host.GetJd());
    const auto named = index.Named(CString(path.c_str()));
    const sky::Entry* entry = named.empty() ? nullptr : named[0].entry;
    for (const auto& match : named)
        if (match.entry->path.CompareNoCase(CString(path.c_str())) == 0) {
            if (match.entry->kind.Left(9) != L"asterism ") return -1;
            entry = match.entry;  // an asterism's own path
        }
    // A path without a dot the index cannot know (a frame set by this run's options).
    if (!entry) return answers() ? -1 : UnknownObject(index, path);
    const CString& kind = entry->kind;
    if (kind.Left(9) == L"asterism ")
        return UnknownObjectError("'" + path + "' is an asterism of the stars " +
                                  kind.Mid(9).ToUtf8() + ": name one of them");
    path = entry->path.ToUtf8();
    return -1;
}

int UnknownSkyObject(double jdUt, const std::string& text) {
    return UnknownObject(sky::NameIndex::ForSky(jdUt), text);
}
