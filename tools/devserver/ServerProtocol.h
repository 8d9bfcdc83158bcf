#pragma once
// The server side of the wire protocol, plain C++ over byte strings (no Qt), so tests can script exact
// exchanges.
//
// Client to server: each message is enciphered with the connection's key and followed by "%$".
// Server to client: a batch is one or more chunks, each a compressed bzip2 stream (without its first seven
// bytes, so it starts with "&SY") or plain text; messages inside a chunk end with "%$" and the batch ends
// with "{[}]". Wire text is one byte per character.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Cipher.h"
#include "core/Random.h"

namespace gr::dev {

// The exact inverse of gr::EncipherBytes: undoes the six passes and strips the three filler bytes at each
// end. Returns "" when the input is shorter than the six filler bytes or the key is shorter than two.
std::string DecipherBytes(const gr::CipherTables& tables, std::string_view key, std::string_view enciphered);

// Deciphers one piece of what a client sent and returns the message only when it looks like one: the
// filler bytes are not zero (the client draws them from 1 to 255) and the message is text (no byte below
// 0x20). nullopt when the piece is too short or does not decipher to text.
std::optional<std::string> DecipherMessage(const gr::CipherTables& tables, std::string_view key,
                                           std::string_view piece);

// What a client may leave unterminated. A client message is a command line or a short form; far beyond
// this the client is flooding, and the pending bytes are dropped so it cannot make the server hold
// unbounded memory.
constexpr std::size_t kMaxPendingClientBytes = 256u * 1024u;
// The framing has no escapes, so an enciphered message may by chance contain "%$" (about once in 65536
// byte pairs). A piece that does not decipher to text is joined with the pieces after it, at most this many
// in all: more than three chance terminators in one message do not happen, so beyond that the first piece
// is garbage and is dropped.
constexpr std::size_t kMaxJoinedPieces = 4;

// Splits what one client connection sends into deciphered messages. Feed it whatever the socket delivered;
// it returns the messages that are complete and keeps the rest.
class ClientSplitter {
  public:
    // key: the connection's cipher key, at least gr::kMinCipherKeyLength bytes (throws gr::RunTimeError).
    explicit ClientSplitter(std::string key);

    // Adds received bytes and returns the complete messages, in order. Callers pass reads of a bounded size;
    // what stays pending after them is held to kMaxPendingClientBytes.
    std::vector<std::string> Feed(std::string_view bytes);

    // True once the pending bytes went over kMaxPendingClientBytes and were dropped.
    bool Overflowed() const { return Overflow; }
    // Pieces dropped because no join of them deciphered to text.
    std::size_t DroppedPieces() const { return Dropped; }
    std::size_t PendingBytes() const { return Pending.size(); }

  private:
    std::optional<std::string> Decipher(std::size_t from, std::size_t to) const;
    // Finds the message that starts at `start`, if the pieces here decide it; sets `next` past it.
    std::optional<std::string> TakeMessage(std::size_t start, std::size_t& next);
    void Restart(std::size_t start);

    std::string Key;
    std::unique_ptr<gr::CipherTables> Tables; // 64 KB: kept off the stack and cheap to move
    std::string Pending;
    std::vector<std::size_t> Ends; // positions of the "%$" seen after the current message start
    std::size_t ScanFrom = 0;      // where the search for the next "%$" resumes
    std::size_t Tried = 0;         // joins of the first Tried pieces already failed to decipher
    std::size_t Dropped = 0;
    bool Overflow = false;
};

// The cipher key handed to a client: 8 to 32 letters and digits.
constexpr std::size_t kMinServerKeyLength = 8;
std::string MakeCipherKey(gr::RandomSource& random);

// The first message of a connection: "KEYCODE", one character the client does not examine, the required
// client version as two digits, then the key.
std::string MakeKeycodeMessage(std::string_view version, std::string_view key);

// Text per compressed chunk: a chunk is closed before it would grow past this (a single longer message
// gets a chunk of its own). Small enough that the client decompresses each chunk in one step, large enough
// that bzip2 finds the repetition in typical game text.
constexpr std::size_t kMaxChunkText = 32u * 1024u;

// A bzip2 stream of the text (block size 9) without its first seven bytes "BZh91AY", so it starts with
// "&SY". nullopt when the stream cannot be framed (it holds "&SY" after its start or "{[}]" anywhere), when
// the text is empty, or when it holds a zero byte (the client ends a decompressed chunk at the first one):
// such a chunk goes out as plain text.
std::optional<std::string> CompressChunk(std::string_view text);

// Whether a message survives the framing in both chunk forms: not empty (the client skips empty pieces),
// no "%$", "&SY" or "{[}]" (the framing has no escapes), no zero byte, and no longer than what the client
// keeps of a chunk.
bool IsFramable(std::string_view message);

// Makes the batches of one connection. Each message is followed by "%$" and the batch ends with "{[}]".
// Compressed: the messages are grouped into chunks of at most kMaxChunkText bytes of text, each compressed
// when CompressChunk can, otherwise sent plain behind "&SY" when it is not the first chunk. Plain: one
// chunk.
//
// The client joins batches that arrive together into one before it splits chunks (it drops every "{[}]"),
// so a batch whose first chunk is plain opens with "&SY" when the batch before it ended with a compressed
// chunk: otherwise its text would be read as trailing bytes of that bzip2 stream and lost.
class BatchMaker {
  public:
    // Throws std::invalid_argument, making nothing, when a message is not framable: the server never sends
    // a message that the client would read differently.
    std::string Make(const std::vector<std::string>& messages, bool compress);

  private:
    bool LastChunkCompressed = false;
};

// The first batch of a connection (or one whose predecessor ended with a plain chunk).
std::string MakeBatch(const std::vector<std::string>& messages, bool compress);

} // namespace gr::dev
