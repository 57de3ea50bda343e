#include "acoustics/engine/FieldPointsData.h"

namespace zorvpro
{
namespace acoustics
{

void FieldPointsData::CopyPoints(const FieldPoints& source)
{
    std::lock_guard<Lock> guard(dataLock);
    FieldPoints::operator=(source);
}

std::shared_ptr<DataSet> FieldPointsData::GetDataSet() const
{
    std::lock_guard<Lock> guard(dataLock);
    return dataSet;
}

void FieldPointsData::SetDataSet(std::shared_ptr<DataSet> data)
{
    std::lock_guard<Lock> guard(dataLock);
    dataSet = std::move(data);
}

} // namespace acoustics
} // namespace zorvpro
