// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/TableNotifier.h"

#include <utility>

namespace korvadel {

TableSubscription::TableSubscription(std::weak_ptr<detail::ListenerList> listeners, int id)
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
