#include "acoustics/model/DoubleBuffer.h"

#include <algorithm>

namespace zorvpro::acoustics
{

DoubleBuffer::DoubleBuffer(uint64_t count, double fill)
{
    allocate(count, fill);
}

DoubleBuffer::DoubleBuffer(std::initializer_list<double> init)
{
    if (allocate(init.size()))
        std::copy(init.begin(), init.end(), values.get());
}

DoubleBuffer::DoubleBuffer(const DoubleBuffer& other)
{
    *this = other;
}

DoubleBuffer::DoubleBuffer(DoubleBuffer&& other) noexcept : n(other.n), values(std::move(other.values))
{
    other.n = 0;
}

DoubleBuffer& DoubleBuffer::operator=(const DoubleBuffer& other)
{
    if (this == &other)
        return *this;
    release();
    if (!other.empty() && allocate(other.n))
        std::copy(other.begin(), other.end(), values.get());
    return *this;
}

DoubleBuffer& DoubleBuffer::operator=(DoubleBuffer&& other) noexcept
{
    if (this == &other)
        return *this;
    values = std::move(other.values);
    n = other.n;
    other.n = 0;
    return *this;
}

bool DoubleBuffer::allocate(uint64_t count, double fill)
{
    if (values && n != count)
        release();
    if (!values && count != 0)
    {
        values.reset(new double[count]());
        n = count;
        if (fill != 0.0)
            std::fill(values.get(), values.get() + n, fill);
    }
    return !empty();
}

void DoubleBuffer::release()
{
    values.reset();
    n = 0;
}

bool DoubleBuffer::sameShape(const DoubleBuffer& other) const
{
    return !empty() && !other.empty() && n == other.n;
}

bool DoubleBuffer::add(const DoubleBuffer& other)
{
    if (!sameShape(other))
        return false;
    for (uint64_t i = 0; i < n; ++i)
        values[i] += other.values[i];
    return true;
}

bool DoubleBuffer::subtract(const DoubleBuffer& other)
{
    if (!sameShape(other))
        return false;
    for (uint64_t i = 0; i < n; ++i)
        values[i] -= other.values[i];
    return true;
}

bool DoubleBuffer::multiply(const DoubleBuffer& other)
{
    if (!sameShape(other))
        return false;
    for (uint64_t i = 0; i < n; ++i)
        values[i] *= other.values[i];
    return true;
}

bool DoubleBuffer::divide(const DoubleBuffer& other)
{
    if (!sameShape(other))
        return false;
    for (uint64_t i = 0; i < n; ++i)
        values[i] = (values[i] == 0.0 || other.values[i] == 0.0) ? 0.0 : values[i] / other.values[i];
    return true;
}

DoubleBuffer DoubleBuffer::negate() &&
{
    for (uint64_t i = 0; i < n; ++i)
        values[i] = -values[i];
    return std::move(*this);
}

bool DoubleBuffer::operator==(const DoubleBuffer& other) const
{
    if (n != other.n)
        return false;
    return std::equal(begin(), end(), other.begin());
}

} // namespace zorvpro::acoustics
