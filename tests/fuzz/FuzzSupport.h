// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every fuzz target checks after a reader ran: the point table is in a state the program
// can live with, whatever the input was.

#include "model/PointTable.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace korvadel::fuzz {

[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

inline void check(bool condition, const char* what) {
    if (!condition) {
        fail(what);
    }
}

// Settled table after a read: rows in ascending Station order, all committed, views resumed.
inline void checkReadTable(const PointTable& points) {
    check(points.suspendCount() == 0, "views left suspended");
    check(points.state() == PointTable::State::Browsing, "row left pending");
    for (std::size_t i = 0; i < points.rowCount(); ++i) {
        check(points.hasStation(i), "committed row without station");
        check(std::isfinite(points.stationAt(i)), "station not finite");
        check(std::isfinite(points.elevationAt(i)), "elevation not finite");
        if (i > 0) {
            check(points.stationAt(i - 1) <= points.stationAt(i), "stations out of order");
        }
    }
}

} // namespace korvadel::fuzz
