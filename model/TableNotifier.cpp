// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/TableNotifier.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace korvadel {

struct TableNotifier::Listeners {
    int nextId = 1;
    std::vector<std::pair<int, TableListener>> entries;

    void remove(int id) {
        std::erase_if(entries, [id](const auto& entry) { return entry.first == id; });
    }
};

TableNotifier::TableNotifier() : listeners_(std::make_shared<Listeners>()) {}

TableNotifier::TableNotifier(const TableNotifier&) : TableNotifier() {}

TableNotifier& TableNotifier::operator=(const TableNotifier&) {
    // The listeners and the suspensions belong to this table, whatever its rows become.
    return *this;
}

TableNotifier::~TableNotifier() = default;

void TableNotifier::notify(const TableChange& change) {
    if (suspendCount_ > 0)
        return;
    // By index: a listener may subscribe or unsubscribe another while it is being told.
    const auto& entries = listeners_->entries;
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i].second(change);
}

void TableNotifier::suspend() {
    ++suspendCount_;
}

void TableNotifier::resume() {
    if (suspendCount_ == 0)
        return;
    if (--suspendCount_ == 0)
        notify({TableChange::Kind::Reset, 0, 0});
}

TableSubscription TableNotifier::subscribe(TableListener listener) {
    const int id = listeners_->nextId++;
    listeners_->entries.emplace_back(id, std::move(listener));
    return TableSubscription(listeners_, id);
}

TableSubscription::TableSubscription(std::weak_ptr<TableNotifier::Listeners> listeners, int id)
    : listeners_(std::move(listeners)), id_(id) {}

TableSubscription::TableSubscription(TableSubscription&& other) noexcept
    : listeners_(std::move(other.listeners_)), id_(std::exchange(other.id_, 0)) {}

TableSubscription& TableSubscription::operator=(TableSubscription&& other) noexcept {
    if (this != &other) {
        reset();
        listeners_ = std::move(other.listeners_);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

TableSubscription::~TableSubscription() {
    reset();
}

void TableSubscription::reset() {
    if (const auto listeners = listeners_.lock())
        listeners->remove(id_);
    listeners_.reset();
    id_ = 0;
}

bool TableSubscription::active() const {
    return id_ != 0 && !listeners_.expired();
}

} // namespace korvadel
