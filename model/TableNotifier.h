// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TableChange.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace korvadel {

class TableSubscription;

namespace detail {

// What a subscription needs of the listener list it belongs to, whatever the list's events.
class ListenerList {
public:
    virtual ~ListenerList() = default;
    virtual void remove(int id) = 0;
};

} // namespace detail

// The one channel through which a table tells whoever listens what happened to it: `Event` is
// what it says (a view change alone, or a choice of typed events), delivered to every listener
// in the order they subscribed.
//
// View changes can be held back: while the table's views are suspended, notify() delivers
// nothing, and the resume that ends the last suspension delivers one Reset, so views re-read the
// table once after a long run of changes. Events that must never be lost, such as the changes a
// history keeps, go through deliver(), which no suspension holds back.
//
// A copy of a table is another table: its notifier starts without listeners and unsuspended.
template <class Event> class TableNotifier {
public:
    using Listener = std::function<void(const Event&)>;

    TableNotifier() : listeners_(std::make_shared<Listeners>()) {}
    TableNotifier(const TableNotifier&) : TableNotifier() {}
    // The listeners and the suspensions belong to this table, whatever its rows become.
    TableNotifier& operator=(const TableNotifier&) { return *this; }

    // A view change: nothing while suspended.
    void notify(const Event& event) {
        if (suspendCount_ == 0)
            deliver(event);
    }
    // Every listener hears it, suspended or not.
    void deliver(const Event& event) {
        // By index: a listener may subscribe or unsubscribe another while it is being told.
        const auto& entries = listeners_->entries;
        for (std::size_t i = 0; i < entries.size(); ++i)
            entries[i].second(event);
    }
    void suspend() { ++suspendCount_; }
    // A resume without a suspension does nothing.
    void resume() {
        if (suspendCount_ == 0)
            return;
        if (--suspendCount_ == 0)
            notify(Event(TableChange{TableChange::Kind::Reset, 0, 0}));
    }
    int suspendCount() const { return suspendCount_; }

    // The listener hears every event until the subscription is destroyed or reset.
    [[nodiscard]] TableSubscription subscribe(Listener listener);

private:
    struct Listeners : detail::ListenerList {
        int nextId = 1;
        std::vector<std::pair<int, Listener>> entries;

        void remove(int id) override {
            std::erase_if(entries, [id](const auto& entry) { return entry.first == id; });
        }
    };

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
    template <class Event> friend class TableNotifier;
    TableSubscription(std::weak_ptr<detail::ListenerList> listeners, int id);

    std::weak_ptr<detail::ListenerList> listeners_;
    int id_ = 0;
};

template <class Event> TableSubscription TableNotifier<Event>::subscribe(Listener listener) {
    const int id = listeners_->nextId++;
    listeners_->entries.emplace_back(id, std::move(listener));
    return TableSubscription(listeners_, id);
}

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
