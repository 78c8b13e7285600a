// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TableChange.h"

#include <memory>

namespace korvadel {

class TableSubscription;

// The change signal a table gives its views (the grid's item model, the chart): the listeners,
// and the count of suspensions during which nothing is delivered. The resume that ends the last
// suspension delivers one Reset, so views re-read the table once after a long run of changes.
//
// A copy of a table is another table: its notifier starts without listeners and unsuspended.
class TableNotifier {
public:
    TableNotifier();
    TableNotifier(const TableNotifier&);
    TableNotifier& operator=(const TableNotifier&);
    ~TableNotifier();

    // Delivers the change to every listener, in the order they subscribed; nothing while
    // suspended.
    void notify(const TableChange& change);
    void suspend();
    // A resume without a suspension does nothing.
    void resume();
    int suspendCount() const { return suspendCount_; }

    // The listener hears every change until the subscription is destroyed or reset.
    [[nodiscard]] TableSubscription subscribe(TableListener listener);

    struct Listeners;

private:
    std::shared_ptr<Listeners> listeners_;
    int suspendCount_ = 0;
};

// One listener on one table, for as long as the object lives: destroying or resetting it
// unsubscribes. Move-only. It holds the table weakly, so it may outlive the table (it then
// holds nothing) and views need not be torn down before the tables they show.
class TableSubscription {
public:
    TableSubscription() = default;
    TableSubscription(TableSubscription&& other) noexcept;
    TableSubscription& operator=(TableSubscription&& other) noexcept;
    TableSubscription(const TableSubscription&) = delete;
    TableSubscription& operator=(const TableSubscription&) = delete;
    ~TableSubscription();

    void reset();
    // Subscribed to a table that still exists.
    bool active() const;

private:
    friend class TableNotifier;
    TableSubscription(std::weak_ptr<TableNotifier::Listeners> listeners, int id);

    std::weak_ptr<TableNotifier::Listeners> listeners_;
    int id_ = 0;
};

// Holds a table's views suspended for as long as it lives, so work that stops with an error
// still resumes them.
template <class Table> class ViewSuspension {
public:
    explicit ViewSuspension(Table& table) : table_(table) { table_.suspendViews(); }
    ~ViewSuspension() { table_.resumeViews(); }
    ViewSuspension(const ViewSuspension&) = delete;
    ViewSuspension& operator=(const ViewSuspension&) = delete;

private:
    Table& table_;
};

} // namespace korvadel
