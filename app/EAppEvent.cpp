#include "app/EAppEvent.h"

#include <QStringList>

namespace Orvane3Ds
{

void AppEventSubscribers::subscribe(const QString &name, Handler handler)
{
    for (auto &entry : m_subscribers) {
        if (entry.first == name) {
            entry.second = std::move(handler);
            return;
        }
    }
    m_subscribers.emplace_back(name, std::move(handler));
}

bool AppEventSubscribers::unsubscribe(const QString &name)
{
    for (auto it = m_subscribers.begin(); it != m_subscribers.end(); ++it) {
        if (it->first == name) {
            m_subscribers.erase(it);
            return true;
        }
    }
    return false;
}

void AppEventSubscribers::emitEvent(EAppEvent event, const QString &text) const
{
    // A subscriber may subscribe or unsubscribe others while it runs; walk a copy.
    const auto subscribers = m_subscribers;
    for (const auto &entry : subscribers) {
        if (entry.second)
            entry.second(event, text);
    }
}

QStringList AppEventSubscribers::names() const
{
    QStringList result;
    for (const auto &entry : m_subscribers)
        result << entry.first;
    return result;
}

} // namespace Orvane3Ds
