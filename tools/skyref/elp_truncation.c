// SPDX-License-Identifier: LGPL-3.0-or-later
/* How far libnova's ELP 2000-82B, truncated as the built-in sky uses it, strays from the
 * whole series over 1950-2050, and what each costs:
 *     cc -O2 tools/skyref/elp_truncation.c -lnova -lm -o /tmp/elp && /tmp/elp
 * libnova's precision argument skips terms below about precision * 206265 arc seconds. */
#include <libnova/libnova.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

int main(void) {
    const double precisions[] = {1e-7, 3e-8, 1e-8, 1e-9};
    enum { N = 400 };
    static double jd[N];
    static struct ln_rect_posn full[N];
    srand(1);
    for (int i = 0; i < N; ++i) jd[i] = 2433282.5 + 36525.0 * rand() / (double)RAND_MAX;
    clock_t t0 = clock();
    for (int i = 0; i < N; ++i) ln_get_lunar_geo_posn(jd[i], &full[i], 0);
    printf("whole series: %.0f us a call\n", (clock() - t0) * 1e6 / CLOCKS_PER_SEC / N);
    for (size_t p = 0; p < sizeof precisions / sizeof precisions[0]; ++p) {
        double worstAngle = 0, worstDistance = 0;
        clock_t t = clock();
        for (int i = 0; i < N; ++i) {
            struct ln_rect_posn r;
            ln_get_lunar_geo_posn(jd[i], &r, precisions[p]);
            const struct ln_rect_posn f = full[i];
            const double R = sqrt(f.X * f.X + f.Y * f.Y + f.Z * f.Z),
                         R2 = sqrt(r.X * r.X + r.Y * r.Y + r.Z * r.Z);
            const double dx = r.X - f.X, dy = r.Y - f.Y, dz = r.Z - f.Z;
            const double across =
                sqrt(fmax(0.0, dx * dx + dy * dy + dz * dz - (R2 - R) * (R2 - R)));
            worstAngle = fmax(worstAngle, across / R * 206264.806);
            worstDistance = fmax(worstDistance, fabs(R2 - R));
        }
        printf("precision %g: %.0f us a call, worst %.3f\" and %.3f km\n", precisions[p],
               (clock() - t) * 1e6 / CLOCKS_PER_SEC / N, worstAngle, worstDistance);
    }
    return 0;
}
