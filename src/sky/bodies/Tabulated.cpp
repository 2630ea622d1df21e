// SPDX-License-Identifier: LGPL-3.0-or-later
#include "sky/bodies/Tabulated.h"

#include <cmath>
#include <unordered_map>

#include "sky/bodies/SkyMath.h"

namespace sky {
namespace {

constexpr int kBodies = static_cast<int>(Body::Kepler) + 1;
constexpr double kRange = 3.0e6;       // days either side of J2000 that are tabulated
constexpr size_t kMaxNodes = 1 << 12;  // per body; beyond, the table starts again

struct Table {
    double step = 0.0;
    std::unordered_map<long long, Vec> nodes;
};

}  // namespace

Vec Tabulated(Body body, double step, Vec (*exact)(double), double jdTt, Vec* velocity) {
    const double x = (jdTt - 2451545.0) / step;
    if (!(std::fabs(x) * step < kRange)) {
        if (velocity) *velocity = (exact(jdTt + 0.005) - exact(jdTt - 0.005)) * (1.0 / 0.01);
        return exact(jdTt);
    }
    thread_local Table tables[kBodies];
    Table& table = tables[static_cast<int>(body)];
    if (table.step != step || table.nodes.size() > kMaxNodes) {
        table.nodes.clear();
        table.step = step;
    }
    // The Moon's path bends most between the instants of its table: six points for it, four
    // for the others.
    const int points = body == Body::Moon ? 6 : 4;
    const long long first = static_cast<long long>(std::floor(x)) - (points / 2 - 1);
    const double u = x - static_cast<double>(first);  // in the middle interval
    Vec pos{0, 0, 0}, vel{0, 0, 0};
    for (int i = 0; i < points; ++i) {
        // The Lagrange weight of node i and its derivative with respect to u.
        double w = 1.0, dw = 0.0;
        for (int j = 0; j < points; ++j) {
            if (j == i) continue;
            const double f = (u - j) / (i - j);
            dw = dw * f + w / (i - j);
            w *= f;
        }
        const long long k = first + i;
        auto it = table.nodes.find(k);
        if (it == table.nodes.end())
            it = table.nodes.emplace(k, exact(2451545.0 + static_cast<double>(k) * step)).first;
        pos = pos + it->second * w;
        vel = vel + it->second * dw;
    }
    if (velocity) *velocity = vel * (1.0 / step);
    return pos;
}

}  // namespace sky
