// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PointTable.h"
#include "model/RatingTable.h"
#include "model/TableNotifier.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace korvadel {
namespace {

TEST(TableSubscription, EndsWithTheObjectAndMovesWithIt) {
    RatingTable rating;
    int heard = 0;
    TableSubscription first = rating.subscribe([&](const TableChange&) { ++heard; });
    rating.appendRow(1, 2);
    EXPECT_EQ(heard, 1);

    TableSubscription moved = std::move(first);
    EXPECT_FALSE(first.active());
    EXPECT_TRUE(moved.active());
    first.reset(); // a moved-from subscription holds nothing to end
    rating.appendRow(2, 3);
    EXPECT_EQ(heard, 2);

    {
        TableSubscription replaced = rating.subscribe([&](const TableChange&) { heard += 10; });
        replaced = std::move(moved); // the listener it held goes, the moved one stays
        rating.appendRow(3, 4);
        EXPECT_EQ(heard, 3);
    }
    rating.appendRow(4, 5);
    EXPECT_EQ(heard, 3);
}

TEST(TableSubscription, MayOutliveItsTable) {
    auto points = std::make_unique<PointTable>();
    int heard = 0;
    TableSubscription views =
        points->subscribe(PointTable::viewsOnly([&](const TableChange&) { ++heard; }));
    points->appendRow(0, 1);
    points.reset();
    EXPECT_FALSE(views.active());
    views.reset(); // nothing left to unsubscribe from
    EXPECT_EQ(heard, 1);
}

TEST(TableNotifier, ACopiedTableStartsWithoutViews) {
    PointTable original;
    std::vector<TableChange::Kind> heard;
    const TableSubscription views = original.subscribe(
        PointTable::viewsOnly([&](const TableChange& change) { heard.push_back(change.kind); }));
    original.appendRow(0, 1);
    original.suspendViews();

    PointTable copy = original;
    EXPECT_EQ(copy.suspendCount(), 0);
    copy.appendRow(5, 2);
    copy = original; // assignment takes the rows, not the views
    copy.appendRow(6, 3);
    EXPECT_EQ(copy.rowCount(), 2u);
    EXPECT_EQ(heard, std::vector{TableChange::Kind::Inserted});

    original.resumeViews();
    EXPECT_EQ(heard, (std::vector{TableChange::Kind::Inserted, TableChange::Kind::Reset}));
}

TEST(TableNotifier, ViewSuspensionResumesOnTheWayOut) {
    RatingTable rating;
    int resets = 0;
    const TableSubscription views = rating.subscribe(
        [&](const TableChange& change) { resets += change.kind == TableChange::Kind::Reset; });
    try {
        ViewSuspension suspended(rating);
        rating.appendRow(1, 1);
        EXPECT_EQ(rating.suspendCount(), 1);
        throw 1;
    } catch (int) {
    }
    EXPECT_EQ(rating.suspendCount(), 0);
    EXPECT_EQ(resets, 1);
}

} // namespace
} // namespace korvadel
