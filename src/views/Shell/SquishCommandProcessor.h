#pragma once

#include <QObject>
#include <QString>

namespace zorvpro
{
// The automation interface: an outside tool finds this object by its name
// "SquishCommandProcessor" and calls these methods through the meta-object
// system. JSON results are compact with sorted keys; every failure is
// {"error": text}. Nothing here throws.
class SquishCommandProcessor : public QObject
{
    Q_OBJECT
public:
    explicit SquishCommandProcessor(QObject* parent = nullptr);

    Q_INVOKABLE QString getAppDataLocation();
    Q_INVOKABLE void clearRecentProjectFiles();
    Q_INVOKABLE bool canUndo();
    Q_INVOKABLE bool canRedo();
    Q_INVOKABLE bool undo();
    Q_INVOKABLE bool redo();
    Q_INVOKABLE int getUndoStackSize();
    Q_INVOKABLE bool clearUndoStack();
    Q_INVOKABLE QString worldToRealCordinates(const QString& view3dObjectName = QString(),
                                              const QString& jsonVectorStr = kZeroVector);
    Q_INVOKABLE QString realToWorldCordinates(const QString& view3dObjectName = QString(),
                                              const QString& jsonPosStr = kZeroPosition);
    Q_INVOKABLE QString getCameraPos(const QString& view3dObjectName = QString());
    Q_INVOKABLE QString setCameraPos(const QString& view3dObjectName = QString(),
                                     const QString& jsonVectorStr = kZeroVector);
    Q_INVOKABLE QString getView3dObj(const QString& view3dObjectName = QString());
    Q_INVOKABLE QString getSplMap();
    Q_INVOKABLE QString rectFor3DView(const QString& view3dObjectName = QString());
    Q_INVOKABLE void startTest(const QString& testName = QString());
    Q_INVOKABLE void finishTest(const QString& result = QString());
    Q_INVOKABLE void addTestHtmlComment(const QString& html = QString());
    Q_INVOKABLE void clearTestHtmlComment();
    Q_INVOKABLE QString getTestMsg();
    Q_INVOKABLE bool test(const QString& msg = QString());

    static const QString kZeroVector;
    static const QString kZeroPosition;
};
} // namespace zorvpro
