// SPDX-License-Identifier: LGPL-3.0-or-later
#include "files/SortableStringArray.h"

#include <cstdlib>
#include <vector>

namespace {

thread_local int (*t_compare)(const CString*, const CString*) = nullptr;

}  // namespace

void CSortableStringArray::Sort(int (*compare)(const CString*, const CString*)) {
    if (!compare || GetSize() < 2) return;
    // qsort may only move trivially copyable things: it sorts pointers to the strings,
    // which then take their places.
    std::vector<const CString*> order;
    order.reserve(m_data.size());
    for (const auto& s : m_data) order.push_back(&s);
    // A comparison may itself sort another array: keep the outer one's.
    auto* const outer = t_compare;
    t_compare = compare;
    qsort(order.data(), order.size(), sizeof(const CString*), [](const void* a, const void* b) {
        return t_compare(*static_cast<const CString* const*>(a),
                         *static_cast<const CString* const*>(b));
    });
    t_compare = outer;
    std::vector<CString> sorted;
    sorted.reserve(order.size());
    for (const CString* s : order) sorted.push_back(std::move(*const_cast<CString*>(s)));
    m_data.swap(sorted);
}

int CSortableStringArray::Compare(const CString* a, const CString* b) { return a->Compare(*b); }
