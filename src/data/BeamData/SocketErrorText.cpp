#include "data/BeamData/SocketErrorText.h"

#include <QCoreApplication>
#include <QHash>

namespace zorvpro
{
namespace
{

const char* const kContext = "zorvpro::KvdFileTransferer";

const QHash<int, const char*>& Texts()
{
    static const QHash<int, const char*> texts = {
        {0, QT_TRANSLATE_NOOP("zorvpro::KvdFileTransferer", "connection was refused")},
        {1, QT_TRANSLATE_NOOP("zorvpro::KvdFileTransferer", "remote host closed the connection")},
        {2, QT_TRANSLATE_NOOP("zorvpro::KvdFileTransferer", "specified host was not found")},
        {3, QT_TRANSLATE_NOOP("zorvpro::KvdFileTransferer", "socket encountered an access error")},
        {4, QT_TRANSLATE_NOOP("zorvpro::KvdFileTransferer", "socket unable to obtain necessary resources")},
        {5, QT_TRANSLATE_NOOP("zorvpro::KvdFileTransferer",
                              "socket did not receive data from the distant end in an expected time")},
        {7, QT_TRANSLATE_NOOP("zorvpro::KvdFileTransferer", "socket encountered a general network failure")},
        {8, QT_TRANSLATE_NOOP("zorvpro::KvdFileTransferer", "socket address is already in use")},
        {9, QT_TRANSLATE_NOOP("zorvpro::KvdFileTransferer", "socket addresses is not available")},
        {10, QT_TRANSLATE_NOOP("zorvpro::KvdFileTransferer", "unsupported socket operation requested")},
        {11, QT_TRANSLATE_NOOP("zorvpro::KvdFileTransferer", "socket unable to finish requested operation")},
    };
    return texts;
}

} // namespace

QString socketErrorText(int code)
{
    const auto found = Texts().constFind(code);
    if (found != Texts().constEnd())
        return QCoreApplication::translate(kContext, found.value());
    return QCoreApplication::translate(kContext, "unknown socket error encountered '%1'").arg(code);
}

} // namespace zorvpro
