// SPDX-License-Identifier: GPL-3.0-or-later
// The section as the windows take it from the point table: a row being typed into included at
// its station, the table left as it was.

#include "model/PointTable.h"
#include "model/SectionPoints.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvadel {
namespace {

TEST(SectionPoints, TakesTheRowBeingTypedAtItsStationWithoutSettlingIt) {
    PointTable points;
    points.appendRow(0, 5);
    points.appendRow(4, 1);
    points.appendRow(8, 5);
    points.first();
    points.insertPending(); // a row typed in at the top, not committed yet
    points.setStation(6.0);
    points.setElevation(2.0);
    const SectionPoints section = sectionPoints(points);
    EXPECT_EQ(section.stations, (std::vector<double>{0, 4, 6, 8}));
    EXPECT_EQ(section.elevations, (std::vector<double>{5, 1, 2, 5}));
    EXPECT_EQ(points.state(), PointTable::State::Inserting);
}

} // namespace
} // namespace korvadel
