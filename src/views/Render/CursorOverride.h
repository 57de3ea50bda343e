// Shows a cursor over one widget, or application-wide when no widget is set, and undoes it.
#pragma once

#include <QCursor>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace zorvpro::view
{
// A cursor from an image resource, hot spot in the image's centre.
QCursor makeResourceCursor(const QString& path);

class CursorOverride
{
public:
    void SetWidget(QWidget* widget) { m_widget = widget; }
    void Apply(const QCursor& cursor);
    void ApplyShape(Qt::CursorShape shape);
    void ApplyRotateCursor();
    void Restore();
    bool IsActive() const { return m_active; }

private:
    void Undo();

    bool m_active = false;
    QPointer<QWidget> m_widget;
};
} // namespace zorvpro::view
