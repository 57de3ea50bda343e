#include "EndToEndPhases.h"

#include "ProgramTestEnv.h"
#include "core/Nodes/QuadNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/Venue.h"
#include "views/Shell/MainWindow.h"
#include "views/Shell/Startup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zorvpro::programtest
{
namespace
{
void Check(bool ok, const char* what)
{
    PhaseCheck("end-to-end", ok, what);
}

QString Invoke(const char* method)
{
    QString result;
    QObject* processor = Window()->findChild<QObject*>(QStringLiteral("SquishCommandProcessor"));
    QMetaObject::invokeMethod(processor, method, Qt::DirectConnection, Q_RETURN_ARG(QString, result));
    return result;
}

struct Level
{
    double x, y, z, spl;
};

// The levels of the first map of the kind ("plan" surface or "side" medial plane), when every
// one is finite.
QVector<Level> MapLevels(const QJsonObject& maps, const QString& destination)
{
    for (const QJsonValue& pairing : maps[QStringLiteral("pairings")].toArray())
    {
        if (pairing[QStringLiteral("destination")].toString() != destination)
            continue;
        QVector<Level> levels;
        for (const QJsonValue& p : pairing[QStringLiteral("points")].toArray())
        {
            const double spl = p[QStringLiteral("spl")].toDouble(NAN);
            if (!std::isfinite(spl))
                return {};
            levels.append({p[QStringLiteral("x")].toDouble(), p[QStringLiteral("y")].toDouble(),
                           p[QStringLiteral("z")].toDouble(), spl});
        }
        if (!levels.isEmpty())
            return levels;
    }
    return {};
}

QWidget* Named(const char* name)
{
    for (QWidget* widget : Window()->findChildren<QWidget*>(QLatin1String(name)))
        if (widget->isVisible())
            return widget;
    return nullptr;
}

bool Click(const char* name)
{
    QWidget* widget = Named(name);
    if (widget == nullptr)
        return false;
    QTest::mouseClick(widget, Qt::LeftButton);
    return true;
}

// Turns a switch on as a user would, once it is shown.
bool SwitchOn(const char* name)
{
    if (!QTest::qWaitFor([&] { return Named(name) != nullptr; }, kDeadline))
        return false;
    auto* button = qobject_cast<QAbstractButton*>(Named(name));
    if (button == nullptr)
        return false;
    if (!button->isChecked())
        QTest::mouseClick(button, Qt::LeftButton);
    return button->isChecked();
}

void Screenshot(MainWindow* window, const QString& name)
{
    QDir().mkpath(QStringLiteral(ZORV_SCREENSHOT_DIR));
    window->grab().save(QStringLiteral(ZORV_SCREENSHOT_DIR "/%1.png").arg(name));
}

bool SameLevels(const QVector<Level>& a, const QVector<Level>& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y || a[i].z != b[i].z || a[i].spl != b[i].spl)
            return false;
    return true;
}

// Waits for finite maps on the plan and the side view that no running calculation changes any
// more (unchanged for over a second); levels of both.
bool WaitForMaps(QVector<Level>& plan, QVector<Level>& side)
{
    QVector<Level> lastPlan, lastSide;
    QElapsedTimer steady;
    steady.start();
    return QTest::qWaitFor(
        [&]
        {
            const QJsonObject maps = QJsonDocument::fromJson(Invoke("getSplMap").toUtf8()).object();
            plan = MapLevels(maps, QStringLiteral("plan"));
            side = MapLevels(maps, QStringLiteral("side"));
            if (plan.isEmpty() || side.isEmpty() || !SameLevels(plan, lastPlan) ||
                !SameLevels(side, lastSide))
            {
                lastPlan = plan;
                lastSide = side;
                steady.restart();
                return false;
            }
            return steady.elapsed() > 1200;
        },
        180000);
}

QJsonArray ToJson(const QVector<Level>& levels)
{
    QJsonArray array;
    for (const Level& l : levels)
        array.append(QJsonArray{l.x, l.y, l.z, l.spl});
    return array;
}

QStringList ThreadNames()
{
    QStringList names;
    for (const QString& task :
         QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
    {
        QFile comm(QStringLiteral("/proc/self/task/%1/comm").arg(task));
        if (comm.open(QIODevice::ReadOnly))
            names << QString::fromLatin1(comm.readAll()).trimmed();
    }
    return names;
}

// Phase 1: a new venue, an array steered from the panel, the maps on, saved.
void BuildAndSave(const QString& folder, MainWindow* window)
{
    Check(Click("continueButton"), "continue on the start page");
    Check(Click("buttonSpeakerTab"), "speaker tab button");
    Check(window->currentPage() == 2, "speaker page shown");
    QTest::qWait(0);
    Check(Click("Toolbar_AddEntity"), "add array");
    auto* steering = qobject_cast<QLineEdit*>(Named("Beam_SteeringAngle1Edit"));
    Check(steering != nullptr && QTest::qWaitFor([&] { return steering->isEnabled(); }, kDeadline),
          "steering field editable");
    if (steering != nullptr)
    {
        steering->setFocus();
        steering->selectAll();
        QTest::keyClicks(steering, QStringLiteral("-8"));
        QTest::keyClick(steering, Qt::Key_Return);
    }
    Check(SwitchOn("Spl_ShowSplMap"), "map switch");
    Check(SwitchOn("Spl_AutoCalculate"), "automatic calculation switch");

    QVector<Level> plan, side;
    Check(WaitForMaps(plan, side), "finite plan and side maps");
    Screenshot(window, QStringLiteral("end-to-end-speaker-maps"));
    if (plan.isEmpty() || side.isEmpty())
        return;
    // Louder near the array than far from it, on the array's medial plane: the plane runs through
    // the array itself, wherever the array was placed and however its beam is aimed.
    math::Vec3 array{0, 0, 0};
    for (const NodePtr& node : ProjectDefinition::Instance()->GetVenue()->GetRoot()->GetChildren())
        if (dynamic_cast<QuadNode*>(node.get()) == nullptr)
            if (auto* physical = dynamic_cast<PhysicalNode*>(node.get()))
                array = math::TransformPoint(physical->GetTransform(), {0, 0, 0});
    QVector<Level> byDistance = side;
    const auto distance = [&](const Level& l)
    { return std::hypot(l.x - array.x, l.y - array.y, l.z - array.z); };
    std::sort(byDistance.begin(), byDistance.end(),
              [&](const Level& a, const Level& b) { return distance(a) < distance(b); });
    const int tenth = std::max(1, byDistance.size() / 10);
    double near = 0, far = 0;
    for (int i = 0; i < tenth; ++i)
    {
        near += byDistance[i].spl;
        far += byDistance[byDistance.size() - 1 - i].spl;
    }
    Check(near > far, "louder near the array");

    // The side map of a new array is cut before the array joins the scene bounds; the maps
    // rebuilt now are the ones a reopened project shows.
    auto* mapSwitch = qobject_cast<QAbstractButton*>(Named("Spl_ShowSplMap"));
    if (mapSwitch != nullptr)
        QTest::mouseClick(mapSwitch, Qt::LeftButton);
    Check(SwitchOn("Spl_ShowSplMap"), "map switched on again");
    Check(SwitchOn("Spl_AutoCalculate"), "automatic calculation on again");

    const QString path = folder + QStringLiteral("/Documents/EndToEnd.tq");
    AnswerModal([&] { QMetaObject::invokeMethod(window, "saveProjectAs", Qt::DirectConnection); },
                [&](QWidget* modal)
                {
                    auto* dialog = qobject_cast<QFileDialog*>(modal);
                    dialog->selectFile(path);
                    static_cast<QDialog*>(dialog)->accept();
                });
    Check(QFile::exists(path), "project saved");
    // The levels as the map shows them now, for the second run.
    QVector<Level> shownPlan, shownSide;
    WaitForMaps(shownPlan, shownSide);
    QFile out(folder + QStringLiteral("/levels.json"));
    Check(out.open(QIODevice::WriteOnly) &&
              out.write(QJsonDocument(QJsonObject{{QStringLiteral("plan"), ToJson(shownPlan)},
                                                  {QStringLiteral("side"), ToJson(shownSide)}})
                            .toJson()) > 0,
          "levels written");
}

// Phase 2: the saved file opens on the Venue tab; the maps come back with the same levels.
void ReopenAndCompare(const QString& folder, MainWindow* window)
{
    Check(window->currentPage() == 1, "saved file opened on the venue tab");
    Check(Click("buttonSpeakerTab"), "speaker tab button");
    QFile in(folder + QStringLiteral("/levels.json"));
    Check(in.open(QIODevice::ReadOnly), "levels of the first run");
    const QJsonObject before = QJsonDocument::fromJson(in.readAll()).object();
    QVector<Level> plan, side;
    SwitchOn("Spl_ShowSplMap");
    SwitchOn("Spl_AutoCalculate");
    Check(WaitForMaps(plan, side), "maps of the reopened project");
    Screenshot(window, QStringLiteral("end-to-end-reopened"));

    for (const auto& [name, levels] : {std::pair<QString, QVector<Level>*>{QStringLiteral("plan"), &plan},
                                       {QStringLiteral("side"), &side}})
    {
        const QJsonArray saved = before[name].toArray();
        Check(saved.size() == levels->size(), "same number of map points");
        for (int i = 0; i < std::min<int>(saved.size(), levels->size()); ++i)
        {
            const QJsonArray p = saved[i].toArray();
            const Level& l = (*levels)[i];
            if (std::fabs(p[0].toDouble() - l.x) > 1e-3 || std::fabs(p[1].toDouble() - l.y) > 1e-3 ||
                std::fabs(p[3].toDouble() - l.spl) > 0.01)
            {
                std::fprintf(stderr, "%s point %d: saved (%g, %g, %g) %g dB, reopened (%g, %g, %g) %g dB\n",
                             qPrintable(name), i, p[0].toDouble(), p[1].toDouble(), p[2].toDouble(),
                             p[3].toDouble(), l.x, l.y, l.z, l.spl);
                Check(false, "same levels after reopening");
                break;
            }
        }
    }
}
} // namespace

int RunPhase(int phase, const QString& folder, int argc, char** argv)
{
    setenv("QT_SCALE_FACTOR", "1", 1);
    const int code =
        RunProgram(argc, argv,
                   [phase, &folder](ProgramStart& start)
                   {
                       MainWindow* window = start.Start();
                       SetWindowForPhase(window, folder);
                       Check(LoopWaitForExposed(window), "window shown");
                       if (phase == 1)
                           BuildAndSave(folder, window);
                       else
                           ReopenAndCompare(folder, window);
                       // A user's close; unsaved map switches are let go at the prompt.
                       QTimer::singleShot(0, window,
                                          [window]
                                          {
                                              if (ProjectDefinition::Instance()->IsModified())
                                                  AnswerModal([window] { window->close(); },
                                                              PressButton(QStringLiteral("Discard")));
                                              else
                                                  window->close();
                                          });
                       QTimer::singleShot(60000,
                                          []
                                          {
                                              Check(false, "the window closed");
                                              QApplication::exit(3);
                                          });
                       const int loop = QApplication::exec();
                       Check(!window->isVisible(), "window closed");
                       SetWindowForPhase(nullptr, folder);
                       return loop;
                   });
    const QStringList threads = ThreadNames();
    Check(!threads.contains(QStringLiteral("engineThread")) && !threads.contains(QStringLiteral("Pool")),
          "engine threads joined");
    return PhaseFailures() == 0 ? code : 1;
}
} // namespace zorvpro::programtest
