// The messages a simulator sends to an explainer, as any bytes in any pieces: every
// message taken holds only what a machine holds and is sent again as the same bytes;
// once a piece is refused nothing more is taken; the scene that follows the stream
// stops following then and goes on, on its own machine, and draws what it was
// last given.

#include <cstdint>
#include <vector>

#include "companions/Scenes.h"
#include "companions/common/SimulatorLink.h"
#include "model/MachineMessage.h"
#include "tests/fuzz/FuzzCheck.h"

using namespace procesor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte: the scene (of the table's rows) and the size of the pieces.
    const std::size_t piece = std::size_t(data[0] & 31) + 1;
    const auto rows = explain::scenes();
    const explain::SceneEntry& entry = rows[std::size_t(data[0] >> 5) % rows.size()];
    ++data;
    --size;

    const auto whole = decodeMessage({data, size});
    if (whole) FUZZ_CHECK(encodeMessage(*whole) == std::vector<std::uint8_t>(data, data + size));

    const auto scene = entry.make(nullptr);
    explain::SimulatorLink link(*scene);
    MessageReader reader;
    std::size_t taken = 0;
    for (std::size_t at = 0; at < size; at += piece) {
        const std::size_t n = std::min(piece, size - at);
        const bool wasBroken = reader.broken();
        for (const MachineMessage& m : reader.feed({data + at, n})) {
            FUZZ_CHECK(!wasBroken);
            const ProcessorModel& p = m.machine;
            for (int v : {p.pc, p.bus, p.ir, p.ramOut, p.regA, p.regB, p.sum, m.line})
                FUZZ_CHECK(v >= 0 && v <= 15);
            FUZZ_CHECK(p.phi1 || !p.phi2);
            FUZZ_CHECK(p.phi2 || !(p.aLoad || p.bLoad || p.pcLoad || p.irLoad || p.pcCount));
            const std::vector<std::uint8_t> again = encodeMessage(m);
            FUZZ_CHECK(std::equal(again.begin(), again.end(), data + taken * kMessageLength));
            ++taken;
        }
        link.received({data + at, n});
        FUZZ_CHECK(scene->following() == (!link.broken() && link.messages() > 0));
    }
    FUZZ_CHECK(link.messages() == int(taken));
    if (link.messages() == 0) return 0; // the scene as it starts: its own frames hold it
    if (link.broken()) scene->key(explain::Key::Space); // its own controls still work
    scene->render();
    return 0;
}
