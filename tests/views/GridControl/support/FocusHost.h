#pragma once

// An active top-level window holding a property widget and a plain line edit
// that takes the focus away, as a user moving to the next field would.

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

namespace zorvpro::test
{
class FocusHost
{
public:
    explicit FocusHost(QWidget* property) : window_(std::make_unique<QWidget>())
    {
        auto* layout = new QVBoxLayout(window_.get());
        // First in the window, so that activation gives it the focus.
        other_ = new QLineEdit(window_.get());
        layout->addWidget(other_);
        layout->addWidget(property);
        property_ = property;
        window_->show();
        QApplication::setActiveWindow(window_.get());
        activated_ = QTest::qWaitForWindowActive(window_.get());
    }

    ~FocusHost()
    {
        // The property belongs to its BindableProperty, not to this window.
        if (property_ != nullptr)
            property_->setParent(nullptr);
    }

    bool activated() const { return activated_; }
    QWidget* window() const { return window_.get(); }
    void moveFocusAway() { other_->setFocus(Qt::TabFocusReason); }

private:
    std::unique_ptr<QWidget> window_;
    QLineEdit* other_ = nullptr;
    QPointer<QWidget> property_;
    bool activated_ = false;
};
} // namespace zorvpro::test
