#include "views/Dashboard/OpenFileButton.h"

#include "Resources/Icons/IconResources.h"
#include "Utility/ApiChecker.h"
#include "views/Common/StyleSheetRule.h"
#include "views/GridControl/MyPropertyButton.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QSpacerItem>
#include <QTimer>
#include <QVBoxLayout>

namespace zorvpro
{
class OpenFileButtonForm
{
public:
    void setupUi(QFrame* tile)
    {
        if (tile->objectName().isEmpty())
            tile->setObjectName(QStringLiteral("zorvpro__OpenFileButton"));
        tile->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        tile->setMinimumSize(150, 140);
        tile->setMaximumSize(150, 140);
        tile->setFocusPolicy(Qt::TabFocus);
        tile->setFrameShape(QFrame::Box);

        verticalLayout = new QVBoxLayout(tile);
        verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
        verticalLayout->setSpacing(0);
        verticalLayout->setContentsMargins(-1, 0, -1, 0);
        verticalLayout->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));
        horizontalLayout = new QHBoxLayout();
        horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
        proxyButton = new MyPropertyButton(tile);
        proxyButton->setObjectName(QStringLiteral("proxyButton"));
        horizontalLayout->addWidget(proxyButton);
        horizontalLayout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
        verticalLayout->addLayout(horizontalLayout);
        verticalLayout->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));
        line = new QFrame(tile);
        line->setObjectName(QStringLiteral("line"));
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        verticalLayout->addWidget(line);
        for (QLabel** label : {&recentFileLabel, &timeLabel})
        {
            *label = new QLabel(tile);
            (*label)->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
            (*label)->setMinimumSize(0, 22);
            (*label)->setMaximumSize(16777215, 22);
            verticalLayout->addWidget(*label);
        }
        recentFileLabel->setObjectName(QStringLiteral("recentFileLabel"));
        timeLabel->setObjectName(QStringLiteral("timeLabel"));
        verticalLayout->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));

        const char* context = "zorvpro::OpenFileButton";
        tile->setWindowTitle(QCoreApplication::translate(context, "Frame"));
        proxyButton->setText(QCoreApplication::translate(context, "PushButton"));
        recentFileLabel->setText(QCoreApplication::translate(context, "OPEN"));
        timeLabel->setText(QCoreApplication::translate(context, "saved"));
    }

    QVBoxLayout* verticalLayout = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    MyPropertyButton* proxyButton = nullptr;
    QFrame* line = nullptr;
    QLabel* recentFileLabel = nullptr;
    QLabel* timeLabel = nullptr;
};

namespace
{
constexpr int kClickDelayMs = 50;
const QString kOpenText = QStringLiteral("OPEN");
const QString kSavedText = QStringLiteral("saved");

QString Tr(const char* text)
{
    return QCoreApplication::translate("zorvpro::OpenFileButton", text);
}

QString IconPath(OpenFileButton::ButtonType type, bool light, bool hovered)
{
    const QString path = QStringLiteral(":/Resources/Buttons/%1_%2_%3_On.png")
                             .arg(type == OpenFileButton::RecentFile ? QStringLiteral("RecentFile")
                                                                     : QStringLiteral("OpenFile"),
                                  light ? QStringLiteral("Light") : QStringLiteral("Dark"),
                                  hovered ? QStringLiteral("Hover") : QStringLiteral("Active"));
    return QCoreApplication::translate("zorvpro::OpenFileButton", path.toUtf8().constData());
}
} // namespace

OpenFileButton::OpenFileButton(QWidget* parent) : QFrame(parent)
{
    InitIconResources();
    qRegisterMetaType<QFileInfo>("QFileInfo");
    qRegisterMetaType<OpenFileButton::ButtonType>("zorvpro::OpenFileButton::ButtonType");
    m_form = std::make_unique<OpenFileButtonForm>();
    CheckAlloc(m_form);
    m_form->setupUi(this);
    m_form->recentFileLabel->setText(kOpenText);
    m_form->timeLabel->setText(kSavedText);
    m_form->proxyButton->setText(QString());
    m_form->proxyButton->setFocusPolicy(Qt::NoFocus);
    setFocusPolicy(Qt::TabFocus);

    m_clickTimer = new QTimer(this);
    m_clickTimer->setSingleShot(true);
    m_clickTimer->setInterval(kClickDelayMs);
    connect(m_clickTimer, &QTimer::timeout, m_form->proxyButton, &QAbstractButton::click);
    connect(m_form->proxyButton, &QAbstractButton::clicked, this,
            [this] { emit onOpenFileButtonClicked(m_type, m_file); });
}

OpenFileButton::~OpenFileButton() = default;

void OpenFileButton::setButtonType(ButtonType type)
{
    m_type = type;
    m_form->recentFileLabel->clear();
    m_form->timeLabel->clear();
    setFocusPolicy(Qt::NoFocus);
    if (type == OpenFile)
    {
        m_form->recentFileLabel->setText(kOpenText);
        m_form->timeLabel->setText(kSavedText);
        setFocusPolicy(Qt::TabFocus);
    }
}

void OpenFileButton::setFileInfo(const QFileInfo& info)
{
    if (m_type != RecentFile)
        return;
    m_file = info;
    const QString name = info.baseName();
    m_form->recentFileLabel->setText(name.size() < 12 ? name : name.left(12) + Tr("..."));
    if (!m_form->recentFileLabel->text().isEmpty())
    {
        setToolTip(QStringLiteral("Opens ") + info.fileName());
        const auto days = static_cast<int32_t>(info.lastModified().daysTo(QDateTime::currentDateTime()));
        m_form->timeLabel->setText(ageText(days));
        setFocusPolicy(Qt::TabFocus);
        m_form->proxyButton->show();
        setEnabled(true);
    }
    else
    {
        setToolTip(QString());
        m_form->timeLabel->clear();
        setFocusPolicy(Qt::NoFocus);
        m_form->proxyButton->hide();
        setEnabled(false);
    }
    refreshStyle(false);
}

QString OpenFileButton::ageText(int32_t days)
{
    if (days == 0)
        return QStringLiteral("today");
    if (days == 1)
        return QStringLiteral("yesterday");
    if (days < 7)
        return QStringLiteral("%1 days ago").arg(days);
    if (days < 30)
    {
        const int32_t weeks = days / 7;
        return (weeks == 1 ? QStringLiteral("%1 week ago") : QStringLiteral("%1 weeks ago")).arg(weeks);
    }
    const int32_t months = days / 30;
    return (months == 1 ? QStringLiteral("%1 month ago") : QStringLiteral("%1 months ago")).arg(months);
}

void OpenFileButton::themeChanged(const int& theme)
{
    m_light = theme == 1;
    refreshStyle(false);
}

void OpenFileButton::refreshStyle(bool focused)
{
    setFixedSize(150, 140);

    QFont nameFont = m_form->recentFileLabel->font();
    nameFont.setLetterSpacing(QFont::AbsoluteSpacing, 1.0);
    nameFont.setCapitalization(QFont::AllUppercase);
    m_form->recentFileLabel->setFont(nameFont);
    QFont ageFont = m_form->timeLabel->font();
    ageFont.setLetterSpacing(QFont::AbsoluteSpacing, 1.0);
    ageFont.setCapitalization(QFont::AllLowercase);
    m_form->timeLabel->setFont(ageFont);

    const bool focusable = focusPolicy() != Qt::NoFocus;
    auto pick = [this](const char* light, const char* dark)
    { return QString::fromLatin1(m_light ? light : dark); };
    const QString background = focusable ? pick("#F8F8F8", "#242424") : pick("#FFFFFF", "#000000");
    const QString hoverBackground = pick("#575757", "#cccccc");
    const QString hoverText = pick("#F8F8F8", "#777777");
    const QString labelText = m_hovered ? pick("#F8F8F8", "#777777") : pick("#575757", "#aaaaaa");
    const QString lineColour = focusable ? labelText : pick("#FFFFFF", "#000000");
    const QString bg = QStringLiteral("background-color");
    const QString radius = QStringLiteral("border-radius");
    const QString transparent = QStringLiteral("transparent");
    const QString none = QStringLiteral("none");

    if (isEnabled())
        setStyleSheet(
            makeStyleSheetRule(QStringLiteral("QFrame"),
                               {{bg, background},
                                {QStringLiteral("border"), focused ? QStringLiteral("1px solid grey") : none},
                                {radius, QStringLiteral("0px")}}) +
            makeStyleSheetRule(QStringLiteral("QFrame:hover"), {{bg, hoverBackground},
                                                                {radius, QStringLiteral("0px")},
                                                                {QStringLiteral("color"), hoverText}}));
    m_form->proxyButton->setStyleSheet(makeStyleSheetRule(
        QStringLiteral("QPushButton"),
        {{bg, transparent}, {QStringLiteral("border"), none}, {radius, QStringLiteral("0px")}}));
    m_form->recentFileLabel->setStyleSheet(makeStyleSheetRule(
        QStringLiteral("QLabel"), {{bg, transparent},
                                   {QStringLiteral("border"), none},
                                   {QStringLiteral("color"), labelText},
                                   {QStringLiteral("font-family"), QStringLiteral("\"Gotham Bold\"")}}));
    m_form->timeLabel->setStyleSheet(makeStyleSheetRule(
        QStringLiteral("QLabel"), {{bg, transparent},
                                   {QStringLiteral("border"), none},
                                   {QStringLiteral("color"), labelText},
                                   {QStringLiteral("font-family"), QStringLiteral("\"Gotham\"")},
                                   {QStringLiteral("font-weight"), QStringLiteral("normal")}}));

    m_form->proxyButton->setIcon(focusable ? QIcon(IconPath(m_type, m_light, m_hovered)) : QIcon());
    m_form->proxyButton->setIconSize(QSize(26, 32));
    m_form->proxyButton->setFixedSize(32, 32);

    m_form->line->setStyleSheet(
        makeStyleSheetRule(QStringLiteral("QFrame"), {{bg, lineColour}, {QStringLiteral("border"), none}}));
    m_form->line->setMaximumHeight(1);
}

void OpenFileButton::startActivation()
{
    m_clickTimer->start();
    setFixedSize(145, 135);
}

void OpenFileButton::mousePressEvent(QMouseEvent* event)
{
    if (focusPolicy() != Qt::NoFocus)
    {
        m_clickTimer->start();
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            setFixedSize(145, 135);
    }
    QFrame::mousePressEvent(event);
}

void OpenFileButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key())
    {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        startActivation();
        break;
    default:
        break;
    }
    QFrame::keyPressEvent(event);
}

void OpenFileButton::focusInEvent(QFocusEvent* event)
{
    refreshStyle(true);
    QFrame::focusInEvent(event);
}

void OpenFileButton::focusOutEvent(QFocusEvent* event)
{
    refreshStyle(false);
    QFrame::focusOutEvent(event);
}

void OpenFileButton::enterEvent(QEvent* event)
{
    if (focusPolicy() != Qt::NoFocus)
    {
        setCursor(Qt::PointingHandCursor);
        m_hovered = true;
    }
    themeChanged(m_light ? 1 : 0);
    QFrame::enterEvent(event);
}

void OpenFileButton::leaveEvent(QEvent* event)
{
    setCursor(Qt::ArrowCursor);
    m_hovered = false;
    themeChanged(m_light ? 1 : 0);
    QFrame::leaveEvent(event);
}
} // namespace zorvpro
