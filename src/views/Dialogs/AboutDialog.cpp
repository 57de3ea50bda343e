#include "views/Dialogs/AboutDialog.h"

#include "Resources/Icons/IconResources.h"
#include "Utility/ApiChecker.h"
#include "acoustics/engine/IZorvAcoustics.h"
#include "core/Base/ApplicationSeam.h"
#include "core/Logger/OmbraxLogger.h"
#include "data/Settings/WindowPlacement.h"
#include "views/Common/OpenLocalFile.h"
#include "views/Common/WarningMessage.h"
#include "views/GridControl/MyPropertyButton.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QResizeEvent>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace zorvpro
{
namespace
{
constexpr int kWidth = 450;
constexpr int kHeight = 300;

QString Tr(const char* text)
{
    return QCoreApplication::translate("zorvpro::AboutDialog", text);
}

QString EngineVersionText()
{
    const ApplicationSeam::EnginePtr engine = CurrentAcousticsEngine();
    if (!engine)
        return Tr("unavailable");
    const acoustics::IZorvAcoustics::Version v = engine->getVersion();
    return QStringLiteral("%1.%2.%3.%4").arg(v[0]).arg(v[1]).arg(v[2]).arg(v[3]);
}

// Writes the compiled-in licence to path when nothing is there yet.
bool EnsureLicenseFile(const QString& path)
{
    if (QFileInfo::exists(path))
        return true;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile source(CompiledInLicensePath());
    QFile target(path);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    const QByteArray bytes = source.readAll();
    const bool written = !bytes.isEmpty() && target.write(bytes) == bytes.size();
    target.close();
    if (!written)
        target.remove();
    return written;
}
} // namespace

class AboutDialogForm
{
public:
    void setupUi(QDialog* dialog)
    {
        if (dialog->objectName().isEmpty())
            dialog->setObjectName(QStringLiteral("zorvpro__AboutDialog"));
        dialog->resize(kWidth, kHeight);
        dialog->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        dialog->setMinimumSize(kWidth, kHeight);
        dialog->setMaximumSize(kWidth, kHeight);

        verticalLayout = new QVBoxLayout(dialog);
        verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
        horizontalLayout = new QHBoxLayout();
        horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
        horizontalLayout->setContentsMargins(0, 10, -1, -1);
        labelLogo = new QLabel(dialog);
        labelLogo->setObjectName(QStringLiteral("labelLogo"));
        labelLogo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        labelLogo->setMinimumSize(100, 100);
        labelLogo->setMaximumSize(100, 100);
        labelLogo->setAlignment(Qt::AlignCenter);
        horizontalLayout->addWidget(labelLogo, 0, Qt::AlignTop);
        verticalLayout_2 = new QVBoxLayout();
        verticalLayout_2->setObjectName(QStringLiteral("verticalLayout_2"));
        verticalLayout_2->setSpacing(5);
        verticalLayout_2->setContentsMargins(10, -1, -1, -1);
        labelInfo = new QLabel(dialog);
        labelInfo->setObjectName(QStringLiteral("labelInfo"));
        verticalLayout_2->addWidget(labelInfo, 0, Qt::AlignTop);
        licenseLbl = new QLabel(dialog);
        licenseLbl->setObjectName(QStringLiteral("licenseLbl"));
        licenseLbl->setTextFormat(Qt::RichText);
        verticalLayout_2->addWidget(licenseLbl, 0, Qt::AlignTop);
        emptyLabel = new QLabel(dialog);
        emptyLabel->setObjectName(QStringLiteral("emptyLabel"));
        verticalLayout_2->addWidget(emptyLabel);
        horizontalLayout->addLayout(verticalLayout_2);
        verticalLayout->addLayout(horizontalLayout);

        horizontalLayout_2 = new QHBoxLayout();
        horizontalLayout_2->setObjectName(QStringLiteral("horizontalLayout_2"));
        horizontalLayout_2->setSpacing(6);
        horizontalLayout_2->setContentsMargins(-1, -1, 6, -1);
        buttonOk = new MyPropertyButton(dialog);
        buttonOk->setObjectName(QStringLiteral("buttonOk"));
        buttonOk->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
        buttonOk->setFixedSize(120, 24);
        buttonOk->setIconSize(QSize(16, 16));
        horizontalLayout_2->addWidget(buttonOk, 0, Qt::AlignRight);
        verticalLayout->addLayout(horizontalLayout_2);
        QObject::connect(buttonOk, &QPushButton::clicked, dialog, &QDialog::close);

        dialog->setWindowTitle(QString());
        labelLogo->setText(QString());
        licenseLbl->setText(Tr("Licence Terms"));
        emptyLabel->setText(QString());
        buttonOk->setText(Tr("OK"));
    }

    QVBoxLayout* verticalLayout = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    QLabel* labelLogo = nullptr;
    QVBoxLayout* verticalLayout_2 = nullptr;
    QLabel* labelInfo = nullptr;
    QLabel* licenseLbl = nullptr;
    QLabel* emptyLabel = nullptr;
    QHBoxLayout* horizontalLayout_2 = nullptr;
    MyPropertyButton* buttonOk = nullptr;
};

QString CompiledInLicensePath()
{
    InitIconResources();
    return QStringLiteral(":/Resources/Documents/EULA.pdf");
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    InitIconResources();
    m_form = std::make_unique<AboutDialogForm>();
    CheckAlloc(m_form);
    m_form->setupUi(this);
    setWindowTitle(Tr("About Zorv Tessary"));
    setMinimumSize(kWidth, kHeight);
    setFixedSize(kWidth, kHeight);
    setMaximumSize(kWidth, kHeight);

    m_filePath = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QDir::separator() +
                 Tr("EULA.pdf");

    m_form->licenseLbl->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse |
                                                Qt::LinksAccessibleByKeyboard);
    m_form->licenseLbl->setOpenExternalLinks(false);
    connect(m_form->licenseLbl, &QLabel::linkActivated, this, &AboutDialog::openLicense);

    m_form->labelInfo->setText(QStringList{
        Tr("Zorv Tessary"), Tr("Version") + QLatin1Char(' ') + QCoreApplication::applicationVersion(),
        Tr("Engine") + QLatin1Char(' ') + EngineVersionText(), Tr("Copyright (c) Zorv. All rights reserved."),
        Tr("Use is subject to the licence terms below.")}
                                   .join(QLatin1Char('\n')));
}

AboutDialog::~AboutDialog() = default;

QSize AboutDialog::sizeHint() const
{
    return QSize(kWidth, kHeight);
}

void AboutDialog::openLicense(const QString&)
{
    if (!EnsureLicenseFile(m_filePath))
    {
        showWarningMessage(Tr("No such file"), Tr("WARNING"), this);
        return;
    }
    OpenLocalFile(m_filePath, this);
}

void AboutDialog::themeChanged(const int& theme)
{
    const QString colour = theme == 1 ? QStringLiteral("#0000FF") : QStringLiteral("#FFFFFF");
    CheckAlloc(m_form->licenseLbl);
    m_form->licenseLbl->setText(QStringLiteral("<a style=\"color:%1 ;\"href= m_filePath >").arg(colour) +
                                Tr("License Terms") + QStringLiteral("</a>"));
}

void AboutDialog::resizeEvent(QResizeEvent* event)
{
    const QPixmap logo(Tr(":/Resources/Icons/ZorvTessary.png"));
    QLabel* label = m_form->labelLogo;
    label->setPixmap(
        logo.scaled(label->width(), label->height(), Qt::KeepAspectRatio, Qt::FastTransformation));
    if (event != nullptr)
        QDialog::resizeEvent(event);
}

void AboutDialog::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    DeferWindowPlacement(this, visible);
}
} // namespace zorvpro
