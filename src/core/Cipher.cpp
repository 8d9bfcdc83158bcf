#include "core/Cipher.h"

#include "core/RunTimeError.h"

namespace gr {

// The table is filled in the same 65,536 steps whatever the key holds, so coverage instrumentation of those
// steps tells a fuzzer nothing and only makes every key it tries slow.
#if defined(__clang__)
#define GR_NO_COVERAGE __attribute__((no_sanitize("coverage")))
#else
#define GR_NO_COVERAGE
#endif

GR_NO_COVERAGE void BuildCipherTables(CipherTables& tables, std::string_view key) {
    if (key.size() < kMinCipherKeyLength) throw RunTimeError("cipher key too short");
    const std::size_t u = key.size() - 1; // the last key byte never enters the table
    std::size_t k = 0;
    for (unsigned a = 0; a < 256; ++a) {
        for (unsigned b = 0; b < 256; ++b) {
            if (k == u) k = 0;
            const unsigned kb = static_cast<unsigned char>(key[k]);
            tables.Mul[(a << 8) | b] = static_cast<std::uint8_t>((kb * b + a) % 255);
            ++k;
        }
    }
}

std::string EncipherBytes(const CipherTables& tables, std::string_view key, std::string_view message,
                          RandomSource& random) {
    if (key.size() < kMinCipherKeyLength) throw RunTimeError("cipher key too short");
    const std::size_t n = message.size();
    std::string q(n + 6, '\0');
    auto filler = [&] { return static_cast<char>(random.Between(1, 255)); };
    q[0] = filler();
    q[1] = filler();
    q[2] = filler();
    message.copy(q.data() + 3, n);
    q[n + 3] = filler();
    q[n + 4] = filler();
    q[n + 5] = filler();

    const std::size_t u = key.size() - 1;
    auto byte = [](char c) { return static_cast<std::uint8_t>(c); };
    for (int pass = 0; pass < kCipherPasses; ++pass) {
        std::size_t k = 0;
        for (std::size_t i = 0; i + 1 < q.size(); ++i) {
            if (k == u) k = 0;
            const std::uint8_t k0 = byte(key[k]);
            const std::uint8_t k1 = byte(key[k + 1]);
            q[i] = static_cast<char>(byte(q[i]) ^ tables.MulTable(k0, byte(q[i + 1])));
            q[i + 1] = static_cast<char>(byte(q[i + 1]) ^ byte(q[i]));
            q[i] = static_cast<char>(byte(q[i]) ^ tables.MulTable(k1, byte(q[i + 1])));
            ++k;
        }
    }
    return q;
}

std::string EncipherForWire(const CipherTables& tables, std::string_view key, std::string_view message,
                            RandomSource& random) {
    std::string bytes = EncipherBytes(tables, key, message, random);
    for (int tries = 1; tries < kMaxEncipherTries && bytes.find("%$") != std::string::npos; ++tries)
        bytes = EncipherBytes(tables, key, message, random);
    return bytes;
}

} // namespace gr
