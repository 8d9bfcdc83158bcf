#include "core/WireText.h"

#include "core/CodePage.h"

namespace gr {

QString FromWire(std::string_view bytes) { return QString::fromStdU16String(TextFromBytes(bytes)); }

std::string ToWire(const QString& text) {
    return BytesFromText(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()));
}

} // namespace gr
