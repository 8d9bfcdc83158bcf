// Server bytes through the receive path: the input is cut into reads at bytes that say where, and every
// message goes into the queue, which a dispatcher tick then empties.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/DispatchTick.h"
#include "core/InQueue.h"
#include "core/ReceivePath.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    gr::ReceiveAssembler assembler(gr::Bzip2Api::Linked());
    gr::InQueue queue;
    std::string message;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t step = 1 + data[0] % 64; // the size of the reads
    for (std::size_t at = 0; at < input.size(); at += step) {
        assembler.Feed(input.substr(at, step), [&](std::string_view m) { queue.Put(m); });
        gr::DispatchTick(queue, message, [](const std::string& m) { return !m.empty(); });
    }
    return 0;
}
