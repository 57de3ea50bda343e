#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>

namespace zorvpro::acoustics
{

// A counted heap array of doubles. Every per-band array of the acoustic model
// is one of these; copies are deep, moves hand the array over.
class DoubleBuffer
{
public:
    DoubleBuffer() = default;
    explicit DoubleBuffer(uint64_t n, double fill = 0.0);
    DoubleBuffer(std::initializer_list<double> values);
    DoubleBuffer(const DoubleBuffer& other);
    DoubleBuffer(DoubleBuffer&& other) noexcept;
    DoubleBuffer& operator=(const DoubleBuffer& other);
    DoubleBuffer& operator=(DoubleBuffer&& other) noexcept;
    ~DoubleBuffer() = default;

    // Makes the buffer hold n values. A buffer that already holds n values
    // keeps them; otherwise the new values are zero, or fill when it is not 0.
    // True when the buffer holds values afterwards.
    bool allocate(uint64_t n, double fill = 0.0);
    void release();

    uint64_t count() const { return n; }
    bool empty() const { return n == 0 || !values; }
    double* data() { return values.get(); }
    const double* data() const { return values.get(); }
    double& operator[](uint64_t i) { return values[i]; }
    double operator[](uint64_t i) const { return values[i]; }
    double* begin() { return values.get(); }
    double* end() { return values.get() + n; }
    const double* begin() const { return values.get(); }
    const double* end() const { return values.get() + n; }

    // Element-wise arithmetic. Each leaves this buffer unchanged unless both
    // hold the same non-zero number of values; the result tells which.
    bool add(const DoubleBuffer& other);
    bool subtract(const DoubleBuffer& other);
    bool multiply(const DoubleBuffer& other);
    // A value of 0 or a divisor of 0 gives 0.
    bool divide(const DoubleBuffer& other);
    // Flips the sign of every value and hands the array out.
    DoubleBuffer negate() &&;

    bool operator==(const DoubleBuffer& other) const;
    bool operator!=(const DoubleBuffer& other) const { return !(*this == other); }

private:
    bool sameShape(const DoubleBuffer& other) const;

    uint64_t n = 0;
    std::unique_ptr<double[]> values;
};

} // namespace zorvpro::acoustics
