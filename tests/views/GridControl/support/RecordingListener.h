#pragma once

// Records every bound-property event it hears, in order.

#include "views/GridControl/IBindablePropertyEventListener.h"

#include <QString>
#include <QVariant>
#include <vector>

namespace zorvpro::test
{
struct RecordedEvent
{
    BoundPropertyEvent event;
    QString name;
    QVariant value;
};

class RecordingListener : public IBindablePropertyEventListener
{
public:
    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override
    {
        events.push_back({event, propName, value});
    }

    // The kinds alone, for order checks.
    std::vector<BoundPropertyEvent> Kinds() const
    {
        std::vector<BoundPropertyEvent> kinds;
        for (const RecordedEvent& e : events)
            kinds.push_back(e.event);
        return kinds;
    }

    std::vector<RecordedEvent> events;
};
} // namespace zorvpro::test
