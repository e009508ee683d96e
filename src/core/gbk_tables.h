#pragma once

#include <QByteArray>
#include <QString>

// The system's GBK conversion that GbkCodec builds on: Qt's codec tables where Qt has them,
// the code page 936 conversion of Windows there.
namespace core::gbk {

bool tablesAvailable();
// *invalid counts what GBK cannot hold; it is 0 when everything converted.
QByteArray encode(const QChar* chars, int length, int* invalid);
// bytes holds whole characters only; a sequence that is not GBK becomes U+FFFD.
QString decode(const char* bytes, int length);

} // namespace core::gbk
