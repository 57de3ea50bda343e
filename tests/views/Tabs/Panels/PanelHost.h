#pragma once

// A shown, active window holding one panel beside a plain line edit that
// takes the focus away, and a listener that records every event the panel
// passes on. Test-wide set-up: English numbers without group separators and
// metric units, as the application starts with.

#include "views/Common/SplTypes.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/BoundPropertiesGrid.h"
#include "views/GridControl/IBindablePropertyEventListener.h"
#include "views/GridControl/IBindablePropertyImpl.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

namespace zorvpro::test
{
struct Heard
{
    BoundPropertyEvent event;
    QString name;
    QVariant value;
};

class PanelListener : public IBindablePropertyEventListener
{
public:
    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override
    {
        heard.push_back({event, propName, value});
    }
    // Value changes only, in order.
    std::vector<Heard> Changes() const
    {
        std::vector<Heard> changes;
        for (const Heard& h : heard)
            if (h.event == BoundPropertyEvent::ValueChanged)
                changes.push_back(h);
        return changes;
    }
    // The value changes as "name=value", to compare a whole sequence at once;
    // band codes read as numbers, and the record starts afresh.
    std::vector<std::string> Said()
    {
        std::vector<std::string> said;
        for (const Heard& h : Changes())
        {
            QString text = h.value.toString();
            if (h.value.userType() == qMetaTypeId<SplTypes::Mode>())
                text = QString::number(SplTypes::ModeFromVariant(h.value));
            said.push_back((h.name + "=" + text).toStdString());
        }
        heard.clear();
        return said;
    }
    std::vector<Heard> heard;
};

template <typename Panel> class PanelHost
{
public:
    template <typename... Args>
    explicit PanelHost(Args&&... args) : panel(std::make_unique<Panel>(std::forward<Args>(args)...))
    {
        auto* layout = new QHBoxLayout(&window);
        other = new QLineEdit(&window);
        layout->addWidget(other);
        layout->addWidget(panel->widget());
        panel->setEventListener(&listener);
        window.show();
        QApplication::setActiveWindow(&window);
        active = QTest::qWaitForWindowActive(&window);
    }
    ~PanelHost() { panel->widget()->setParent(nullptr); }

    BindableProperty* Property(const QString& name) const { return panel->getProperty(name); }
    QWidget* Widget(const QString& name) const { return Property(name)->widget(); }
    QVariant Shown(const QString& name) const { return Property(name)->impl()->squish_display_value(); }
    bool Visible(QWidget* widget) const { return widget->isVisibleTo(panel->widget()); }

    // Types into a line edit as a user does and leaves it, which commits.
    void Type(const QString& name, const QString& text)
    {
        QWidget* property = Widget(name);
        QLineEdit* edit = property->findChild<QLineEdit*>();
        edit->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
        other->setFocus(Qt::TabFocusReason);
    }
    // Enters a display value through the automation operation.
    void Set(const QString& name, const QVariant& value)
    {
        Property(name)->impl()->squish_set_display_value(value);
    }

    QWidget window;
    QLineEdit* other = nullptr;
    PanelListener listener;
    std::unique_ptr<Panel> panel;
    bool active = false;
};
} // namespace zorvpro::test
