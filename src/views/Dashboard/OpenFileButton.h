#pragma once

#include "views/Common/IAppThemeListener.h"

#include <QFileInfo>
#include <QFrame>
#include <memory>

class QTimer;

namespace zorvpro
{
class OpenFileButtonForm;

// A square tile of the start page: the open tile ("OPEN" / "saved") or one
// recent project with its name and age. Mouse, Return, Enter and Space
// activate it; it emits onOpenFileButtonClicked once, 50 ms later.
class OpenFileButton : public QFrame, private IAppThemeListener
{
    Q_OBJECT

public:
    enum ButtonType : int32_t
    {
        OpenFile = 0,
        RecentFile = 1
    };
    Q_ENUM(ButtonType)

    explicit OpenFileButton(QWidget* parent = nullptr);
    ~OpenFileButton() override;

    void setButtonType(ButtonType type);
    ButtonType getButtonType() const { return m_type; }
    // A recent tile shows the file; an info with no base name empties it.
    void setFileInfo(const QFileInfo& info);
    const QFileInfo& fileInfo() const { return m_file; }

    static QString ageText(int32_t days);

    void themeChanged(const int& theme) override;

signals:
    void onOpenFileButtonClicked(zorvpro::OpenFileButton::ButtonType t, const QFileInfo& fileToOpen);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void refreshStyle(bool focused);
    void startActivation();

    std::unique_ptr<OpenFileButtonForm> m_form;
    bool m_light = false;
    ButtonType m_type = OpenFile;
    QFileInfo m_file;
    bool m_hovered = false;
    QTimer* m_clickTimer = nullptr;
};
} // namespace zorvpro
