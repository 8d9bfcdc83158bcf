#pragma once
// The voice component of the voice chat. Created at start-up and told its codec: wave format tag 49 (GSM
// 6.10) and a level of 0.2. The push-to-talk link itself uses these values.
namespace gr {

class VoiceStream {
public:
    void InitACMCodec(int formatTag, double level);
    bool Initialised() const { return FormatTag != 0; }
    int FormatTag = 0;
    double Level = 0.0;
};

} // namespace gr
