#pragma once

#include "core/Logger/OmbraxLogger.h"
#include "views/Render/MouseAction.h"

#include <QString>
#include <functional>
#include <memory>
#include <string>

namespace zorvpro
{
// Collects one mouse drag: every step changes the model live through the update functor, and
// the single commit hands the whole run to the commit functor, which pushes the one undo step.
// The action type is the mouse record of the views; the tab adapters use it with theirs.
template <typename Action> class BasicIterativeUndoOperation
{
public:
    using CommitFunctor = std::function<void(bool changed, const Action& action)>;
    using UpdateFunctor = std::function<void(const Action& action)>;

    BasicIterativeUndoOperation(const std::string& operationName, CommitFunctor commit)
        : commitFunctor(std::move(commit)), name(operationName)
    {
    }

    ~BasicIterativeUndoOperation()
    {
        if (inProgress)
            OmbraxLogger::Log(LogLevel::Error, QString("IterativeUndoOperation %1 deleted while in progress")
                                                   .arg(QString::fromStdString(name)));
    }

    BasicIterativeUndoOperation(const BasicIterativeUndoOperation&) = delete;
    BasicIterativeUndoOperation& operator=(const BasicIterativeUndoOperation&) = delete;

    // An empty functor keeps the one set before.
    void SetUpdateFunctor(const UpdateFunctor& functor)
    {
        if (functor)
            updateFunctor = std::make_unique<UpdateFunctor>(functor);
    }

    void Update(const Action& action)
    {
        if (!updateFunctor)
            return;
        (*updateFunctor)(action);
        changed = true;
    }

    void Commit(const Action& action)
    {
        if (!inProgress)
        {
            OmbraxLogger::Log(LogLevel::Error,
                              QString("IterativeUndoOperation commit called more than once for %1")
                                  .arg(QString::fromStdString(name)));
            return;
        }
        inProgress = false;
        commitFunctor(changed, action);
    }

    bool InProgress() const { return inProgress; }
    bool Changed() const { return changed; }
    const std::string& Name() const { return name; }

private:
    CommitFunctor commitFunctor;
    std::unique_ptr<UpdateFunctor> updateFunctor;
    bool inProgress = true;
    std::string name;
    bool changed = false;
};

// The drag collector of the tab adapters, over the views' mouse actions.
using IterativeUndoOperation = BasicIterativeUndoOperation<view::MouseAction>;
} // namespace zorvpro
