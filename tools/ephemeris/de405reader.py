# SPDX-License-Identifier: LGPL-3.0-or-later
"""JPL's DE405 as Debian packages it for casacore (casacore-data-jpl-de405, read with
python3-casacore): Chebyshev records of 32 days from each row's MJD (TDB), 1960 to 2060,
positions in km; the record's two dates are left out of column x. Shared by the reference
generators under tools/."""
import numpy as np
from numpy.polynomial.chebyshev import chebval


class De405:
    PATH = "/usr/share/casacore/data/ephemerides/DE405"
    # Body: first coefficient (1-based, the record's two dates counted), coefficients per
    # component, sub-intervals per record.
    MOON, SUN, EMB = (441, 13, 8), (753, 11, 2), (231, 13, 2)

    def __init__(self):
        from casacore import tables
        t = tables.table(self.PATH, ack=False)
        self.coef = np.array(t.getcol("x"))
        self.start = np.array(t.getcol("MJD"))
        self.emrat = t.getkeywords()["EMRAT"]
        self.c = t.getkeywords()["CLIGHT"] * 86400.0  # km per day
        self.first, self.last = self.start[0], self.start[-1] + 32.0

    def body(self, mjd, which):
        """The body's barycentric position (km) at TDB mjd; which as MOON, SUN, EMB."""
        first, n, k = which
        i = int(np.searchsorted(self.start, mjd, side="right")) - 1
        span = 32.0 / k
        j = min(int((mjd - self.start[i]) // span), k - 1)
        x = 2.0 * (mjd - self.start[i] - j * span) / span - 1.0
        base = first - 3 + j * 3 * n
        return np.array([chebval(x, self.coef[i][base + c * n:base + (c + 1) * n])
                         for c in range(3)])

    def earth(self, mjd):
        return self.body(mjd, self.EMB) - self.body(mjd, self.MOON) / (1.0 + self.emrat)
