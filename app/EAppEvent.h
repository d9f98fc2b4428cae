#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace Orvane3Ds
{

// Application events: a number and a text, delivered to named subscribers.
enum EAppEvent : int {
    SceneChanged = 0,          // the scene or a model's placement changed; empty text
    LayerCountChanged = 1,     // the scene statistics were recomputed; empty text
    SupportState = 2,          // "<count>,<count>,<flag>"; "0,0,true" when a part import starts
    InsidePlatform = 5,        // every model lies within the platform; empty text
    OutsidePlatform = 6,       // a model lies beyond the platform; "wfMainWarmingBreakUp"
    CommandRecorded = 7,       // "Undo, ," followed by the action's name
    ManualSupportsChanged = 8, // empty text
};

// Subscribers in registration order, each with a name. Emitting calls every subscriber in
// order on the calling thread.
class AppEventSubscribers
{
  public:
    using Handler = std::function<void(EAppEvent event, const QString &text)>;

    // Adds a subscriber; a subscriber of the same name is replaced in place.
    void subscribe(const QString &name, Handler handler);
    // Returns whether a subscriber of that name was removed.
    bool unsubscribe(const QString &name);
    void emitEvent(EAppEvent event, const QString &text = QString()) const;
    QStringList names() const;

  private:
    std::vector<std::pair<QString, Handler>> m_subscribers;
};

} // namespace Orvane3Ds
