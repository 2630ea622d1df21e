// SPDX-License-Identifier: LGPL-3.0-or-later
// Writes the built-in sky's name index (names.idx) from the data folders' catalogues, so
// that programs open it instead of reading every catalogue for a name.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sky/Names.h"
#include "sky/SkyHost.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zcmcom-names OUTPUT\n");
        return 2;
    }
    // The bundled data only: the user's element files are read at run time.
    unsetenv("ZCMCOM_SKY_ELEMENTS");
    unsetenv("ZCMCOM_SKY_TLE");
    CSkyHost host;
    std::string error;
    if (!sky::NameIndex::WriteFile(host, argv[1], &error)) {
        std::fprintf(stderr, "zcmcom-names: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
