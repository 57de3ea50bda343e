#pragma once

// Whole-file writes and reads for tests that prepare or inspect files byte for byte.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

namespace zorvpro::test
{
inline void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Empty when the file cannot be read.
inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace zorvpro::test
