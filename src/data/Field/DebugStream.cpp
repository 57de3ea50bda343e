#include "data/Field/DebugStream.h"

#include <iostream>
#include <mutex>

namespace zorvpro::field
{

namespace
{
std::mutex& WriterLock()
{
    static std::mutex lock;
    return lock;
}

DebugWriter& Writer()
{
    static DebugWriter writer;
    return writer;
}
} // namespace

void SetDebugWriter(DebugWriter writer)
{
    std::lock_guard<std::mutex> guard(WriterLock());
    Writer() = std::move(writer);
}

void WriteDebugLine(const std::string& line)
{
    std::lock_guard<std::mutex> guard(WriterLock());
    if (Writer())
        Writer()(line);
    else
        std::cerr << line << '\n';
}

} // namespace zorvpro::field
