#pragma once
// The widget edge of wire text: bytes of the server's code page to and from QString.
#include <QString>
#include <string>
#include <string_view>

namespace gr {

QString FromWire(std::string_view bytes);
std::string ToWire(const QString& text);

} // namespace gr
