#pragma once

#include <QString>

namespace zorvpro
{

// The user-facing text of a QAbstractSocket::SocketError code; a code without
// a text of its own gives "unknown socket error encountered '<code>'".
QString socketErrorText(int code);

} // namespace zorvpro
