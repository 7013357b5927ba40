#include "CliContext.h"

namespace vextor::cli {

std::vector<Command> projectCommands() {
    return {};
}

} // namespace vextor::cli
