#include "platform/VoiceStream.h"

namespace gr {

void VoiceStream::InitACMCodec(int formatTag, double level) {
    FormatTag = formatTag;
    Level = level;
}

} // namespace gr
