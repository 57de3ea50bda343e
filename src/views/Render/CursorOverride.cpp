#include "CursorOverride.h"

#include <QGuiApplication>
#include <QPixmap>

namespace zorvpro::view
{
QCursor makeResourceCursor(const QString& path)
{
    QPixmap pixmap(path);
    pixmap.setDevicePixelRatio(1.75);
    return QCursor(pixmap, -1, -1);
}

void CursorOverride::Undo()
{
    if (m_widget)
        m_widget->unsetCursor();
    else
        QGuiApplication::restoreOverrideCursor();
}

void CursorOverride::Apply(const QCursor& cursor)
{
    if (m_active)
        Undo();
    m_active = true;
    if (m_widget)
        m_widget->setCursor(cursor);
    else
        QGuiApplication::setOverrideCursor(cursor);
}

void CursorOverride::ApplyShape(Qt::CursorShape shape)
{
    Apply(QCursor(shape));
}

void CursorOverride::ApplyRotateCursor()
{
    Apply(makeResourceCursor(QStringLiteral(":/Resources/Cursors/rotate_win.png")));
}

void CursorOverride::Restore()
{
    // Popping a cursor this object never pushed would take away someone else's.
    if (m_active)
        Undo();
    m_active = false;
}
} // namespace zorvpro::view
