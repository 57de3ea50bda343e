#pragma once

#include "data/Settings/AppSettings.h"

#include <QObject>
#include <map>
#include <memory>

namespace zorvpro
{
class HierarchicalFileElement;

class AppSettings::Impl : public QObject
{
    Q_OBJECT

public:
    explicit Impl(const QString& filePath);
    ~Impl() override;

    std::map<QString, WindowSettings> windows;
    UnitSettings units;
    LoggingSettings logging;
    UiSettings ui;
    bool loading = false;

    const QString& FilePath() const { return filePath_; }

public slots:
    void Load();
    void Save();

private:
    void LoadWindow(const std::shared_ptr<HierarchicalFileElement>& root, const QString& name);
    void LoadLogging(const std::shared_ptr<HierarchicalFileElement>& section);
    void LoadUi(const std::shared_ptr<HierarchicalFileElement>& section);
    void LoadUnits(const std::shared_ptr<HierarchicalFileElement>& section);

    QString filePath_;
};
} // namespace zorvpro
