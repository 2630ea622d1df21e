// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom find: the built-in sky's objects by name; and the name lookup of zcmcom click.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

#include "Command.h"
#include "SkyOptions.h"
#include "sky/Names.h"
#include "sky/SkyHost.h"

namespace {

// "no object named 'X' (closest: A, B, C)", status 3.
int UnknownObject(const sky::NameIndex& index, const std::string& text) {
    CString closest;
    for (const CString& name : index.Closest(CString(text.c_str()), 3))
        closest += (closest.IsEmpty() ? L"" : L", ") + name;
    return UnknownObjectError("no object named '" + text + "' (closest: " + closest.ToUtf8() +
                              "; see zcmcom find)");
}

int RunFind(const std::string& text) {
    const std::string why = sky::NameTextError(text);
    if (!why.empty()) return UsageError("cannot search for " + why);
    CSkyHost host;
    const sky::NameIndex index(host);
    const auto found = index.Find(CString(text.c_str()));
    if (found.empty()) return UnknownObject(index, text);
    for (const auto& match : found) {
        CString names;
        for (const CString& name : match.entry->names)
            names += (names.IsEmpty() ? L"" : L", ") + name;
        PrintLine(match.entry->path + L"\t" + names);
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
    // An object path the sky answers for stays as it is.
    const CString answer = host.Execute(CString(("? " + path + ".Position.RA").c_str()));
    if (!answer.IsEmpty() && answer != L"*") return -1;
    CSkyHost names(host.GetJd());  // (asking names moves no mark of the host itself)
    const sky::NameIndex index(names);
    for (const sky::Entry& e : index.Entries())
        if (e.path.CompareNoCase(CString(path.c_str())) == 0) return -1;
    const CString resolved = index.Resolve(CString(path.c_str()));
    if (resolved.IsEmpty()) return UnknownObject(index, path);
    path = resolved.ToUtf8();
    return -1;
}

int UnknownSkyObject(double jdUt, const std::string& text) {
    CSkyHost names(jdUt);
    return UnknownObject(sky::NameIndex(names), text);
}
