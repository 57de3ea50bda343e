#pragma once

#include "views/Common/IAppThemeListener.h"
#include "views/GridControl/IBindablePropertyImpl.h"
#include "views/GridControl/PropertyKind.h"

#include <QKeySequence>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <cstdint>
#include <memory>

namespace zorvpro
{
class IBindablePropertyEventListener;
class IconRenderer;
class MyPropertyButton;

// One named, editable value of a panel: a widget of one kind behind one
// interface. Model values go in through setValue; user actions come back
// as bound-property events to the listener.
class BindableProperty : public IAppThemeListener
{
public:
    // Builds the widget of the kind; failures are logged and thrown on as
    // std::runtime_error.
    BindableProperty(std::uint32_t kind, const QString& name);
    ~BindableProperty() override;

    BindableProperty(const BindableProperty&) = delete;
    BindableProperty& operator=(const BindableProperty&) = delete;

    void themeChanged(const int& theme) override;

    QString name() const;
    std::uint32_t kind() const;
    QVariant value() const;
    QWidget* widget() const;
    void setValue(const QVariant& value, bool raise);
    void setEditable(bool enabled, bool clearWhenDisabled);
    void setWidgetFocus(bool on);
    void setEventListener(IBindablePropertyEventListener* listener);
    // Only for combo boxes; any other kind logs the misuse and stays as it is.
    void setComboBoxOptions(const QStringList& options);
    // Only for icon buttons and colour pickers; others log and stay as they are.
    void setSelected(bool selected);
    IBindablePropertyImpl* impl() const { return impl_.get(); }

    // Creators: each builds and configures one kind; the caller owns the
    // result until it binds it into a grid. Failures are logged under the
    // creator's name and thrown on as std::runtime_error.
    static MyPropertyButton* createButton(const QString& objectName, const QString& text, bool checkable);
    static BindableProperty* createComboBox(const QString& name);
    static BindableProperty* createLineEdit(const QString& name, std::uint32_t unitType, int maxLength,
                                            double minimum, double maximum, int precision);
    static BindableProperty* createToggleSwitch(const QString& name, const QString& offLabel,
                                                const QString& onLabel);
    // Icon buttons, tabs, colour pickers, multi-line edits and sliders.
    static BindableProperty* createColorPickerButton(const QString& name);
    static BindableProperty* createIconButton(const QString& name, const IconRenderer& icons, bool checkable,
                                              const QKeySequence& shortcut);
    static BindableProperty* createTabButton(const QString& name, const QString& text,
                                             const IconRenderer& icons, const QKeySequence& shortcut);
    static BindableProperty* createMultiLineEdit(const QString& name, int maxLength);
    static BindableProperty* createSlider(const QString& name, int minimum, int maximum);

private:
    std::unique_ptr<IBindablePropertyImpl> impl_;
    // The widget is the implementation; a container that deleted it first
    // must not make this property delete it again.
    QPointer<QWidget> widget_;
};
} // namespace zorvpro
