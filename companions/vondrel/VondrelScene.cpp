#include "companions/vondrel/VondrelScene.h"

#include "companions/common/Texts.h"
#include "companions/vondrel/ControlUnitScene.h"
#include "model/Microprogram.h"

namespace procesor::explain {

std::unique_ptr<Scene> makeVondrelScene(const Opening* opening) {
    std::optional<int> opcode;
    if (opening && opening->kind == ElementKind::Label) {
        // A listing line (Label14..Label29) or an instruction name: its instruction.
        int line = -1;
        if (opening->number >= 14 && opening->number <= 29) line = opening->number - 14;
        for (const MicroLine& l : kMicroprogram)
            if (l.instructionLabel == opening->number && line < 0) line = l.lineLabel - 14;
        if (line >= 0)
            for (const Instruction& i : kInstructions)
                if (i.mnemonic == instructionOf(line)) opcode = i.opcode;
    }
    return std::make_unique<ControlUnitScene>(opcode);
}

} // namespace procesor::explain
