#pragma once

#include <QByteArray>
#include <QByteArrayView>

// One gzip member (RFC 1952) around deflated bytes, as Content-Encoding: gzip
// wants; qCompress writes the zlib format, which HTTP clients do not take.
namespace Gzip {

// Empty when zlib fails (out of memory): the caller then sends the bytes as they are.
QByteArray compress(QByteArrayView bytes);

} // namespace Gzip
