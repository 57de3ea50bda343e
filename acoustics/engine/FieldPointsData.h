#pragma once

#include "acoustics/engine/DataSet.h"
#include "acoustics/engine/FieldPoints.h"

#include <memory>

namespace zorvpro
{
namespace acoustics
{

// A field-point set as one calculation used it, with the data set computed for it.
// This is what the engine publishes per set id. Read the data set under GetDataLock().
class FieldPointsData : public FieldPoints
{
public:
    FieldPointsData() = default;
    explicit FieldPointsData(const FieldPoints& points) : FieldPoints(points) {}

    // Takes over the source's points, holding this object's data lock while copying.
    void CopyPoints(const FieldPoints& source);

    // Empty until the set's last chunk completes.
    std::shared_ptr<DataSet> GetDataSet() const;
    void SetDataSet(std::shared_ptr<DataSet> data);

    Lock& GetDataLock() const { return dataLock; }

private:
    std::shared_ptr<DataSet> dataSet;
    mutable Lock dataLock;
};

} // namespace acoustics
} // namespace zorvpro
