#include "devserver/ServerProtocol.h"

#include <bzlib.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <stdexcept>

#include "core/Chunk.h"
#include "core/RunTimeError.h"

namespace gr::dev {

namespace {
constexpr std::string_view kMessageEnd = "%$";
constexpr std::string_view kChunkSeparator = "&SY";
constexpr std::string_view kBatchEnd = "{[}]";
// What BZ2_bzBuffToBuffCompress writes in front of the first block: the stream header "BZh9" and the first
// three bytes of the block magic. The rest of the magic, "&SY", opens every compressed chunk on the wire.
constexpr std::string_view kStreamHead = "BZh91AY";
constexpr std::size_t kFillerBytes = 3; // at each end of an enciphered message

std::uint8_t Byte(char c) {
    return static_cast<std::uint8_t>(c);
}

// Undoes the six mixing passes; the result still carries the filler bytes. Each enciphering step at
// position i, with key index k = i mod U, turned the pair (a, b) into a' = a ^ M(K[k], b), b' = b ^ a',
// a'' = a' ^ M(K[k+1], b'); the steps are undone last to first.
std::string Unmix(const gr::CipherTables& tables, std::string_view key, std::string_view enciphered) {
    std::string q(enciphered);
    const std::size_t u = key.size() - 1;
    for (int pass = 0; pass < gr::kCipherPasses; ++pass) {
        for (std::size_t i = q.size() - 1; i-- > 0;) {
            const std::size_t k = i % u;
            const std::uint8_t b1 = Byte(q[i + 1]);
            const std::uint8_t a1 = Byte(q[i]) ^ tables.MulTable(Byte(key[k + 1]), b1);
            const std::uint8_t b = b1 ^ a1;
            q[i] = static_cast<char>(a1 ^ tables.MulTable(Byte(key[k]), b));
            q[i + 1] = static_cast<char>(b);
        }
    }
    return q;
}

bool Deciphers(std::string_view key, std::string_view enciphered) {
    return enciphered.size() >= 2 * kFillerBytes && key.size() >= gr::kMinCipherKeyLength;
}
} // namespace

std::string DecipherBytes(const gr::CipherTables& tables, std::string_view key, std::string_view enciphered) {
    if (!Deciphers(key, enciphered)) return {};
    return Unmix(tables, key, enciphered).substr(kFillerBytes, enciphered.size() - 2 * kFillerBytes);
}

std::optional<std::string> DecipherMessage(const gr::CipherTables& tables, std::string_view key,
                                           std::string_view piece) {
    if (!Deciphers(key, piece)) return std::nullopt;
    std::string q = Unmix(tables, key, piece);
    const std::size_t n = q.size() - 2 * kFillerBytes;
    for (std::size_t i = 0; i < kFillerBytes; ++i) {
        if (q[i] == '\0' || q[kFillerBytes + n + i] == '\0') return std::nullopt;
    }
    q.erase(kFillerBytes + n).erase(0, kFillerBytes);
    if (std::any_of(q.begin(), q.end(), [](char c) { return Byte(c) < 0x20; })) return std::nullopt;
    return q;
}

ClientSplitter::ClientSplitter(std::string key)
    : Key(std::move(key)), Tables(std::make_unique<gr::CipherTables>()) {
    gr::BuildCipherTables(*Tables, Key); // throws when the key is too short
}

std::optional<std::string> ClientSplitter::Decipher(std::size_t from, std::size_t to) const {
    return DecipherMessage(*Tables, Key, std::string_view(Pending).substr(from, to - from));
}

std::optional<std::string> ClientSplitter::TakeMessage(std::size_t start, std::size_t& next) {
    for (; Tried < Ends.size(); ++Tried) {
        const std::size_t end = Ends[Tried];
        std::optional<std::string> message = Decipher(start, end);
        if (!message) continue; // a chance "%$" inside the cipher bytes: join the next piece
        // A piece that deciphers to text by chance may still be the front of a message cut at a chance
        // "%$". When the next piece is already here, does not decipher to text alone, and the two joined
        // do, they are one message.
        if (Tried + 1 < Ends.size() && !Decipher(end + kMessageEnd.size(), Ends[Tried + 1])) {
            if (std::optional<std::string> joined = Decipher(start, Ends[Tried + 1])) {
                next = Ends[Tried + 1] + kMessageEnd.size();
                return joined;
            }
        }
        next = end + kMessageEnd.size();
        return message;
    }
    if (Ends.size() == kMaxJoinedPieces) {
        ++Dropped; // no join of the first piece is text: it is garbage
        next = Ends.front() + kMessageEnd.size();
    }
    return std::nullopt; // next == start: wait for more pieces
}

void ClientSplitter::Restart(std::size_t start) {
    Ends.clear();
    Tried = 0;
    ScanFrom = start;
}

std::vector<std::string> ClientSplitter::Feed(std::string_view bytes) {
    std::vector<std::string> messages;
    Pending.append(bytes);
    std::size_t start = 0;
    for (;;) {
        while (Ends.size() < kMaxJoinedPieces) {
            const std::size_t at = Pending.find(kMessageEnd, ScanFrom);
            if (at == std::string::npos) {
                // A "%" at the very end may be completed by the next read.
                if (Pending.size() > ScanFrom + 1) ScanFrom = Pending.size() - 1;
                break;
            }
            Ends.push_back(at);
            ScanFrom = at + kMessageEnd.size();
        }
        std::size_t next = start;
        std::optional<std::string> message = TakeMessage(start, next);
        if (next == start) break;
        if (message) messages.push_back(std::move(*message));
        Restart(next);
        start = next;
    }
    // Consumed bytes are removed once per read, not once per message, so a read full of small messages
    // stays linear.
    Pending.erase(0, start);
    for (std::size_t& end : Ends)
        end -= start;
    ScanFrom -= start;
    if (Pending.size() > kMaxPendingClientBytes) {
        Pending.clear();
        Restart(0);
        Overflow = true;
    }
    return messages;
}

std::string MakeCipherKey(gr::RandomSource& random) {
    static constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const int length = random.Between(int(kMinServerKeyLength), int(gr::kMaxCipherKeyLength));
    std::string key;
    for (int i = 0; i < length; ++i)
        key += kAlphabet[std::size_t(random.Between(0, int(kAlphabet.size()) - 1))];
    return key;
}

std::string MakeKeycodeMessage(std::string_view version, std::string_view key) {
    std::string message = "KEYCODE ";
    message.append(version).append(key);
    return message;
}

std::optional<std::string> CompressChunk(std::string_view text) {
    if (text.empty() || text.find('\0') != std::string_view::npos) return std::nullopt;
    // libbz2's own bound for the output: 1% more than the input plus 600 bytes.
    const std::size_t bound = text.size() + text.size() / 100 + 600;
    if (bound > UINT_MAX) return std::nullopt;
    std::string stream(bound, '\0');
    unsigned written = static_cast<unsigned>(bound);
    // libbz2 takes the source as char* but only reads it.
    const int status = BZ2_bzBuffToBuffCompress(stream.data(), &written, const_cast<char*>(text.data()),
                                                static_cast<unsigned>(text.size()), 9, 0, 0);
    if (status != BZ_OK) return std::nullopt;
    stream.resize(written);
    if (!stream.starts_with(kStreamHead) || stream.compare(kStreamHead.size(), 3, kChunkSeparator) != 0) {
        return std::nullopt;
    }
    stream.erase(0, kStreamHead.size());
    // The client splits the batch on these before decompressing: inside the stream they would cut it.
    if (stream.find(kChunkSeparator, 1) != std::string::npos || stream.find(kBatchEnd) != std::string::npos) {
        return std::nullopt;
    }
    return stream;
}

bool IsFramable(std::string_view message) {
    return !message.empty() && message.size() + kMessageEnd.size() <= gr::kMaxChunkOutput &&
           message.find('\0') == std::string_view::npos &&
           message.find(kMessageEnd) == std::string_view::npos &&
           message.find(kChunkSeparator) == std::string_view::npos &&
           message.find(kBatchEnd) == std::string_view::npos;
}

std::string BatchMaker::Make(const std::vector<std::string>& messages, bool compress) {
    for (const std::string& message : messages) {
        if (!IsFramable(message)) throw std::invalid_argument("message cannot be framed in a batch");
    }
    std::string batch;
    std::string text; // the chunk being gathered
    auto closeChunk = [&] {
        if (text.empty()) return;
        if (std::optional<std::string> compressed = compress ? CompressChunk(text) : std::nullopt) {
            batch += *compressed; // starts with "&SY", which separates it from what went before
            LastChunkCompressed = true;
        } else {
            if (!batch.empty() || LastChunkCompressed) batch += kChunkSeparator;
            batch += text;
            LastChunkCompressed = false;
        }
        text.clear();
    };
    for (const std::string& message : messages) {
        if (compress && !text.empty() && text.size() + message.size() + kMessageEnd.size() > kMaxChunkText) {
            closeChunk();
        }
        text.append(message).append(kMessageEnd);
    }
    closeChunk();
    batch += kBatchEnd;
    return batch;
}

std::string MakeBatch(const std::vector<std::string>& messages, bool compress) {
    return BatchMaker().Make(messages, compress);
}

} // namespace gr::dev
