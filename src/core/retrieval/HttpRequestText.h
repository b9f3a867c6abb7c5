#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The one request form the engines (and the version server) are sent:
// "GET /" + path + tail + " HTTP/1.0\nAccept: */* User-Agent: ZazuDeveri\n\n".
// No carriage return and no Host header: the servers of the time took exactly this.
namespace HttpRequestText {

QByteArray build(QByteArrayView path, QByteArrayView tail = {});

// HotBot's repeated request after a "302 Moved": the path of the first "http://" address in
// the answer (its host dropped), up to the first blank, carriage return or line feed.
// Empty when the answer names no such address.
QByteArray redirectRequest(QByteArrayView page);

} // namespace HttpRequestText
